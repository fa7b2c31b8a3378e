#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KestrixKit/Holders/HolderPolicy.h"

using namespace kestrix;

namespace {

constexpr std::uint32_t linuxUser = 1000;
constexpr std::uint32_t root = 0;
const std::vector<HolderAction> onlyWait{HolderAction::waitAndRetry};
const std::vector<HolderAction> endOrRetry{HolderAction::endProcess, HolderAction::waitAndRetry};

// A command-line program, so that nothing but the name or pid protects it.
Holder program(std::string name, std::uint32_t uid = linuxUser, std::int32_t pid = 4000,
               std::optional<std::string> path = std::nullopt) {
    if (!path) path = "/opt/bin/" + name;
    return Holder{.pid = pid, .name = std::move(name), .executablePath = std::move(path), .uid = uid,
                  .kind = HelperKind::commandLine};
}

}  // namespace

TEST(LinuxHolderPolicy, NeverQuitsOrEndsWhatKeepsTheDesktopAlive) {
    const std::vector<std::string> protectedNames{
        "systemd", "Xorg", "Xwayland", "gnome-shell", "plasmashell", "kwin_x11", "kwin_wayland", "mutter",
        "weston", "sway", "gnome-session-binary", "ksmserver", "xfwm4", "xfce4-session", "lxqt-session", "cinnamon",
        "marco", "dbus-daemon", "dbus-broker", "udisksd", "systemd-udevd", "gvfsd", "gvfsd-fuse", "gvfsd-trash",
        "kestrix", "kestrixctl",
        // Cut by the kernel to 15 bytes.
        "gnome-session-b", "dbus-broker-lau"};
    for (const std::string& name : protectedNames) {
        for (const std::uint32_t user : {linuxUser, root}) {
            const Holder owned = program(name, user);
            EXPECT_EQ(HolderPolicy::actions(owned, user), onlyWait) << name << " for uid " << user;
            EXPECT_FALSE(HolderPolicy::mayEndWhenAsked(owned, user)) << name << " for uid " << user;
        }
        // Known by its executable though it calls itself otherwise.
        EXPECT_TRUE(HolderPolicy::isProtected(program("worker", linuxUser, 4000, "/usr/bin/" + name), linuxUser)) << name;
    }
    // pid 1 whatever its name, and the user's own service manager ("systemd --user").
    EXPECT_EQ(HolderPolicy::actions(program("init", root, 1), root), onlyWait);
    EXPECT_EQ(HolderPolicy::actions(program("systemd", linuxUser, 1800, "/usr/lib/systemd/systemd"), linuxUser), onlyWait);
    // Names that only begin like a protected one are not protected.
    EXPECT_EQ(HolderPolicy::actions(program("systemd-helper"), linuxUser), endOrRetry);
    EXPECT_EQ(HolderPolicy::actions(program("gvfs-helper"), linuxUser), endOrRetry);
}

TEST(LinuxHolderPolicy, RootEndsAnotherUsersProgramOnlyWhenNamed) {
    const Holder theirs = program("rsync", linuxUser);
    // Never offered …
    EXPECT_EQ(HolderPolicy::actions(theirs, root), onlyWait);
    // … but root may end it by naming it, as its owner could.
    EXPECT_TRUE(HolderPolicy::mayEndWhenAsked(theirs, root));
    EXPECT_TRUE(HolderPolicy::mayEndWhenAsked(program("rsync", root), root));
    // Anyone else may not end another user's program at all.
    EXPECT_FALSE(HolderPolicy::mayEndWhenAsked(program("rsync", root), linuxUser));
    EXPECT_FALSE(HolderPolicy::mayEndWhenAsked(program("rsync", 1001), linuxUser));
    // Root's naming does not reach what its owner could not end either.
    Holder indexer = program("tracker-miner-fs-3", linuxUser);
    indexer.kind = HelperKind::spotlight;
    EXPECT_FALSE(HolderPolicy::mayEndWhenAsked(indexer, root));
    EXPECT_FALSE(HolderPolicy::mayEndWhenAsked(program("helper", linuxUser, 4000, "/usr/libexec/helper"), root));
}

TEST(LinuxHolderPolicy, OnlyAProgramThatLosesNoWorkStartsTickedAndAShellIsHungUp) {
    EXPECT_TRUE(HolderPolicy::endsByDefault(program("sleep")));
    EXPECT_TRUE(HolderPolicy::endsByDefault(program("less")));
    EXPECT_EQ(HolderPolicy::endSignal(program("sleep")), EndSignal::terminate);

    // Never an app, however it started, nor a process of one: it is asked to quit, or left.
    Holder mousepad = program("mousepad");
    mousepad.app = AppIdentity{.name = "Mousepad", .isRegular = true};
    mousepad.kind = HelperKind::app;
    EXPECT_FALSE(HolderPolicy::endsByDefault(mousepad));
    EXPECT_FALSE(HolderPolicy::mayEndWhenAsked(mousepad, linuxUser));
    EXPECT_FALSE(HolderPolicy::mayEndWhenAsked(mousepad, root));
    Holder renderer = program("firefox-esr");
    renderer.app = AppIdentity{.name = "Firefox", .isRegular = false};
    EXPECT_FALSE(HolderPolicy::endsByDefault(renderer));
    // An editor may hold unsaved work, and a writer a file half written.
    EXPECT_FALSE(HolderPolicy::endsByDefault(program("vi", linuxUser, 4000, "/usr/bin/vim.basic")));
    EXPECT_FALSE(HolderPolicy::endsByDefault(program("nano")));
    Holder writer = program("dd");
    writer.holds = {Hold{HoldKind::openFile, "/media/u/Stick/disk.img", true}};
    EXPECT_FALSE(HolderPolicy::endsByDefault(writer));

    // A shell at its prompt goes as its terminal closing would make it; one running a job waits.
    Holder shell = program("bash");
    shell.kind = HelperKind::shell;
    EXPECT_EQ(HolderPolicy::actions(shell, linuxUser), endOrRetry);
    EXPECT_TRUE(HolderPolicy::endsByDefault(shell));
    EXPECT_EQ(HolderPolicy::endSignal(shell), EndSignal::hangUp);
    shell.job = "make";
    EXPECT_FALSE(HolderPolicy::endsByDefault(shell));
}
