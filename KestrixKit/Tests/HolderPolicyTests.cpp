#include <gtest/gtest.h>

#include "KestrixKit/Holders/HolderPolicy.h"

using namespace kestrix;

namespace {

constexpr std::uint32_t me = 501;
using Actions = std::vector<HolderAction>;
const Actions waitOnly{HolderAction::waitAndRetry};
const Actions quitOrShow{HolderAction::quitApp, HolderAction::showApp};
const Actions endOrWait{HolderAction::endProcess, HolderAction::waitAndRetry};

Holder holder(std::string name, HelperKind kind, std::optional<std::string> path = std::nullopt,
              std::optional<AppIdentity> app = std::nullopt, std::int32_t pid = 300, std::uint32_t uid = me) {
    return Holder{.pid = pid, .name = std::move(name), .executablePath = std::move(path), .uid = uid,
                  .app = std::move(app), .kind = kind};
}

const AppIdentity regular{.name = "X", .isRegular = true};

}  // namespace

TEST(HolderPolicy, ProtectsTheSystemAndOtherUsers) {
    EXPECT_EQ(HolderPolicy::actions(holder("x", HelperKind::commandLine, std::nullopt, std::nullopt, 1), me), waitOnly);
    EXPECT_EQ(HolderPolicy::actions(holder("x", HelperKind::app, std::nullopt, regular, 0), me), waitOnly);
    EXPECT_EQ(HolderPolicy::actions(holder("Pages", HelperKind::app, "/Applications/Pages.app/Contents/MacOS/Pages",
                                           regular, 300, 502), me), waitOnly);
    // Basics unreadable: uid 0, so only root may act on it.
    EXPECT_EQ(HolderPolicy::actions(holder("PID 77", HelperKind::commandLine, std::nullopt, std::nullopt, 77, 0), me),
              waitOnly);
    EXPECT_EQ(HolderPolicy::actions(holder("PID 77", HelperKind::commandLine, std::nullopt, std::nullopt, 77, 0), 0),
              endOrWait);
    EXPECT_EQ(HolderPolicy::actions(holder("DOCK", HelperKind::app, "/Applications/Dock.app/Contents/MacOS/Dock", regular),
                                    me), waitOnly);
    // The protected name may also come from the executable.
    EXPECT_EQ(HolderPolicy::actions(holder("Renamed", HelperKind::app, "/Applications/Kestrix.app/Contents/MacOS/k",
                                           regular), me), waitOnly);
    EXPECT_EQ(HolderPolicy::actions(holder("kestrix", HelperKind::commandLine, "/opt/kestrix"), me), waitOnly);
    EXPECT_EQ(HolderPolicy::actions(holder("mds", HelperKind::spotlight, "/opt/mds"), me), waitOnly);
    EXPECT_TRUE(HolderPolicy::isProtected(holder("helper", HelperKind::commandLine, "/usr/libexec/helper"), me));
    EXPECT_FALSE(HolderPolicy::isProtected(holder("helper", HelperKind::commandLine), me));
}

TEST(HolderPolicy, OffersTheFittingRemedy) {
    EXPECT_EQ(HolderPolicy::actions(holder("helper", HelperKind::commandLine, "/opt/local/bin/helper"), me), endOrWait);
    EXPECT_EQ(HolderPolicy::actions(holder("X", HelperKind::app, "/Library/Apple/X.app/Contents/MacOS/X", regular), me),
              quitOrShow);
    EXPECT_EQ(HolderPolicy::actions(holder("zsh", HelperKind::shell, "/bin/zsh"), me), endOrWait);
    EXPECT_EQ(HolderPolicy::actions(holder("Dropbox", HelperKind::cloudSync, "/Applications/Dropbox.app/x", regular), me),
              quitOrShow);
    EXPECT_EQ(HolderPolicy::actions(holder("bird", HelperKind::cloudSync, "/opt/bird"), me), endOrWait);
    // Finder is protected but can still be brought to the front.
    EXPECT_EQ(HolderPolicy::actions(holder("Finder", HelperKind::finder, std::nullopt, regular), me),
              (Actions{HolderAction::showApp, HolderAction::waitAndRetry}));
    // Where the desktop can't raise its window (Wayland), an app is offered no Show; one it can't
    // ask is still offered Quit, for which Kestrix waits on the user.
    AppIdentity unreachable = regular;
    unreachable.reach = AppReach{.canAskToQuit = false, .canShow = false};
    EXPECT_EQ(HolderPolicy::actions(holder("FeatherPad", HelperKind::app, "/usr/bin/featherpad", unreachable), me),
              Actions{HolderAction::quitApp});
    // A non-regular app identity at a system path stays protected.
    EXPECT_EQ(HolderPolicy::actions(holder("agent", HelperKind::app, "/System/Library/agent",
                                           AppIdentity{.name = "agent", .isRegular = false}), me), waitOnly);
}
