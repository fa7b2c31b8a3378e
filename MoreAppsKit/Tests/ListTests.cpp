#include "LoaderFixture.h"

#include "MoreAppsKit/MoreAppsList.h"

using namespace moreapps;
using namespace moreapps::fixtures;

class MoreAppsListTest : public LoaderFixture {
protected:
    MoreAppsList list(bool allowsNetwork = true) const {
        return MoreAppsList({.thisApp = "kestrix", .utmSource = "kestrix", .isDirect = true,
                             .bundleID = std::nullopt, .allowsNetwork = allowsNetwork},
                            loader_);
    }
};

TEST_F(MoreAppsListTest, StartsFromCacheThenBuiltInCopyThenNothing) {
    EXPECT_EQ(list().source(), MoreAppsSource::none);
    bundledData_ = feed({app("kestrix"), app("bundled")});
    EXPECT_EQ(list().source(), MoreAppsSource::bundled);
    EXPECT_EQ(ids(list().apps()), std::vector<std::string>{"bundled"});
    writeFile(cacheFile(), feed({app("cached")}, 2));
    EXPECT_EQ(list().source(), MoreAppsSource::bundled);
    writeFile(cacheFile(), feed({app("kestrix"), app("cached")}));
    EXPECT_EQ(list().source(), MoreAppsSource::cache);
    EXPECT_EQ(ids(list().apps()), std::vector<std::string>{"cached"});
    EXPECT_TRUE(requests_.empty());
}

TEST_F(MoreAppsListTest, RefreshReplacesTheListOnlyWithANewFeed) {
    writeFile(cacheFile(), feed({app("cached")}));
    answer_ = ok(feed({app("kestrix"), app("fresh")}));
    auto offline = list(false);
    offline.refresh();
    EXPECT_TRUE(requests_.empty());

    auto online = list();
    answer_ = MoreAppsTransportError{"offline"};
    online.refresh();
    EXPECT_EQ(online.source(), MoreAppsSource::cache);
    EXPECT_EQ(ids(online.apps()), std::vector<std::string>{"cached"});

    now_ += std::chrono::hours(25);
    answer_ = ok(feed({app("kestrix"), app("fresh")}));
    online.refresh();
    EXPECT_EQ(online.source(), MoreAppsSource::network);
    EXPECT_EQ(ids(online.apps()), std::vector<std::string>{"fresh"});
}
