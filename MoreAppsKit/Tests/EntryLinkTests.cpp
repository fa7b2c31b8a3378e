#include <gtest/gtest.h>

#include "MoreAppsKit/MoreAppsVisibility.h"
#include "TestFeeds.h"

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

}  // namespace

TEST(MoreAppsEntry, CampaignQueryOnlyForTheMakersSite) {
    const std::string campaign = "?utm_source=kestrix&utm_medium=linux-app&utm_campaign=more-apps";
    EXPECT_EQ(entry("a", "https://orvane.com/wren").linkToOpen(config("kestrix")),
              "https://orvane.com/wren" + campaign);
    EXPECT_EQ(entry("a", "https://WWW.orvane.com").linkToOpen(config("kestrix")), "https://WWW.orvane.com" + campaign);
    EXPECT_EQ(entry("a", "https://flathub.org/apps/com.example.One").linkToOpen(config("kestrix")),
              "https://flathub.org/apps/com.example.One");
    EXPECT_EQ(entry("a", "https://orvane.com/wren").linkToOpen(config("-kestrix")), "https://orvane.com/wren");
    // An existing query is replaced, a fragment kept after it.
    EXPECT_EQ(entry("a", "https://orvane.com/w?old=1#top").linkToOpen(config("k")),
              "https://orvane.com/w?utm_source=k&utm_medium=linux-app&utm_campaign=more-apps#top");
    EXPECT_EQ(entry("a", "https://orvane.com/a b").linkToOpen(config("k")), std::nullopt);
}

TEST(MoreAppsVisibility, HidesItselfAndNonStoreLinksForStoreBuilds) {
    const std::vector<MoreAppsEntry> apps = {
        entry("kestrix", "https://flathub.org/apps/com.example.One"),
        entry("renamed", "https://flathub.org/apps/com.example.Two", "com.orvane.kestrix"),
        entry("store", "https://FlatHub.org/apps/com.orvane.Store", "com.orvane.store"),
        entry("site", "https://orvane.com/site"),
        entry("shop", "https://orvane.gumroad.com/l/shop"),
    };
    auto visible = [&](const MoreAppsConfig& config) {
        return moreapps::fixtures::ids(MoreAppsVisibility::visibleApps(apps, config));
    };
    EXPECT_EQ(visible(config("k", true)), (std::vector<std::string>{"store", "site", "shop"}));
    EXPECT_EQ(visible(config("k", false)), (std::vector<std::string>{"store"}));
    auto noBundle = config("k");
    noBundle.bundleID.reset();
    EXPECT_EQ(visible(noBundle), (std::vector<std::string>{"renamed", "store", "site", "shop"}));
}
