#include <gtest/gtest.h>

#include "KestrixKit/Flow/AppIdentityRule.h"
#include "KestrixKit/Flow/RunningAppRule.h"

using namespace kestrix;

namespace {

const std::vector<RunningApp> apps = {
    {.pid = 40, .localizedName = "Agent", .bundlePath = "/Applications/Editor.app", .bundleID = std::nullopt, .isRegular = false},
    {.pid = 41, .localizedName = "Editor", .bundlePath = "/Applications/Editor.app", .bundleID = "com.x.editor", .isRegular = true},
    {.pid = 50, .localizedName = std::nullopt, .bundlePath = "/Applications/Old Tool.v2.app/", .bundleID = std::nullopt, .isRegular = true},
    {.pid = 51, .localizedName = std::nullopt, .bundlePath = std::nullopt, .bundleID = "com.x.bare", .isRegular = true},
};

}  // namespace

TEST(RunningAppRule, OwnRegularAppElseTheRegularAppOfTheEnclosingBundle) {
    EXPECT_EQ(RunningAppRule::runningApp(Holder{.pid = 41}, apps)->pid, 41);
    // Not regular itself: found through its bundle, skipping the non-regular entry.
    EXPECT_EQ(RunningAppRule::runningApp(Holder{.pid = 40, .appBundlePath = "/Applications/Editor.app"}, apps)->pid, 41);
    EXPECT_EQ(RunningAppRule::runningApp(Holder{.pid = 40}, apps), std::nullopt);
    EXPECT_EQ(RunningAppRule::runningApp(Holder{.pid = 77, .appBundlePath = "/Applications/Editor.app/"}, apps), std::nullopt);
    EXPECT_EQ(RunningAppRule::runningApp(Holder{.pid = 77}, apps), std::nullopt);
}

TEST(AppIdentityRule, NameFallsBackToTheBundleFileName) {
    EXPECT_EQ(AppIdentityRule::appIdentity(41, apps), (AppIdentity{.name = "Editor", .bundleID = "com.x.editor", .isRegular = true}));
    EXPECT_EQ(AppIdentityRule::appIdentity(40, apps)->isRegular, false);
    EXPECT_EQ(AppIdentityRule::appIdentity(50, apps)->name, "Old Tool.v2");
    EXPECT_EQ(AppIdentityRule::appIdentity(51, apps), (AppIdentity{.name = "", .bundleID = "com.x.bare", .isRegular = true}));
    EXPECT_EQ(AppIdentityRule::appIdentity(0, apps), std::nullopt);
    EXPECT_EQ(AppIdentityRule::appIdentity(-41, apps), std::nullopt);
    EXPECT_EQ(AppIdentityRule::appIdentity(99, apps), std::nullopt);
}
