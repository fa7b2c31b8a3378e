#include <gtest/gtest.h>

#include "MoreAppsKit/MoreAppsVisibility.h"

using namespace moreapps;

namespace {

MoreAppsEntry entry(const std::string& id, const std::string& url, std::optional<std::string> bundleId = {}) {
    return {.id = id, .name = id, .detail = "d", .symbol = "star", .tint = "red", .url = url,
            .bundleId = std::move(bundleId), .localized = {}};
}

MoreAppsConfig config(const std::string& utmSource, bool isDirect = true) {
    return {.thisApp = "kestrix", .utmSource = utmSource, .isDirect = isDirect,
            .bundleID = "com.orvane.kestrix", .allowsNetwork = false};
}

std::vector<std::string> ids(const std::vector<MoreAppsEntry>& entries) {
    std::vector<std::string> result;
    for (const auto& item : entries) result.push_back(item.id);
    return result;
}

}  // namespace

TEST(MoreAppsEntry, CampaignQueryOnlyForTheMakersSite) {
    const std::string campaign = "?utm_source=kestrix&utm_medium=mac-app&utm_campaign=more-apps";
    EXPECT_EQ(entry("a", "https://orvane.com/wren").linkToOpen(config("kestrix")),
              "https://orvane.com/wren" + campaign);
    EXPECT_EQ(entry("a", "https://WWW.orvane.com").linkToOpen(config("kestrix")), "https://WWW.orvane.com" + campaign);
    EXPECT_EQ(entry("a", "https://apps.apple.com/app/id1").linkToOpen(config("kestrix")),
              "https://apps.apple.com/app/id1");
    EXPECT_EQ(entry("a", "https://x.gumroad.com/l/a").linkToOpen(config("kestrix")), "https://x.gumroad.com/l/a");
    EXPECT_EQ(entry("a", "https://orvane.com/wren").linkToOpen(config("-kestrix")), "https://orvane.com/wren");
    EXPECT_EQ(entry("a", "https://orvane.com/wren").linkToOpen(config("")), "https://orvane.com/wren");
    // An existing query is replaced, a fragment kept after it.
    EXPECT_EQ(entry("a", "https://orvane.com/w?old=1#top").linkToOpen(config("k")),
              "https://orvane.com/w?utm_source=k&utm_medium=mac-app&utm_campaign=more-apps#top");
    EXPECT_EQ(entry("a", "https://orvane.com/a b").linkToOpen(config("k")), std::nullopt);
}

TEST(MoreAppsEntry, WhereLinksPoint) {
    EXPECT_TRUE(entry("a", "https://Apps.Apple.com/x").pointsToAppStore());
    EXPECT_FALSE(entry("a", "https://orvane.com/x").pointsToAppStore());
    EXPECT_TRUE(entry("a", "https://www.orvane.com/x").pointsToMakerSite());
    EXPECT_FALSE(entry("a", "https://shop.orvane.com/x").pointsToMakerSite());
}

TEST(MoreAppsVisibility, HidesItselfAndNonStoreLinksForStoreBuilds) {
    const std::vector<MoreAppsEntry> apps = {
        entry("kestrix", "https://apps.apple.com/app/id1"),
        entry("renamed", "https://apps.apple.com/app/id2", "com.orvane.kestrix"),
        entry("store", "https://apps.apple.com/app/id3", "com.orvane.store"),
        entry("site", "https://orvane.com/site"),
        entry("shop", "https://orvane.gumroad.com/l/shop"),
        entry("plain", "https://apps.apple.com/app/id4"),
    };
    EXPECT_EQ(ids(MoreAppsVisibility::visibleApps(apps, config("k", true))),
              (std::vector<std::string>{"store", "site", "shop", "plain"}));
    EXPECT_EQ(ids(MoreAppsVisibility::visibleApps(apps, config("k", false))),
              (std::vector<std::string>{"store", "plain"}));
    auto noBundle = config("k");
    noBundle.bundleID.reset();
    EXPECT_EQ(ids(MoreAppsVisibility::visibleApps(apps, noBundle)).size(), 5u);
}
