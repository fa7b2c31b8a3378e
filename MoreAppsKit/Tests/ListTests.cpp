#include "LoaderFixture.h"

#include "MoreAppsKit/MoreAppsList.h"

using namespace moreapps;
using namespace moreapps::testing;

class MoreAppsListTest : public LoaderFixture {
protected:
    MoreAppsConfig config(bool allowsNetwork = true) const {
        return {.thisApp = "kestrix", .utmSource = "kestrix", .isDirect = true, .bundleID = std::nullopt,
                .allowsNetwork = allowsNetwork};
    }
    static std::vector<std::string> ids(const MoreAppsList& list) {
        std::vector<std::string> result;
        for (const auto& entry : list.apps()) result.push_back(entry.id);
        return result;
    }
};

TEST_F(MoreAppsListTest, StartsFromCacheThenBuiltInCopyThenNothing) {
    EXPECT_EQ(MoreAppsList(config(), loader_).source(), MoreAppsSource::none);
    EXPECT_TRUE(MoreAppsList(config(), loader_).apps().empty());

    bundledData_ = feed({app("kestrix"), app("bundled")});
    MoreAppsList bundled(config(), loader_);
    EXPECT_EQ(bundled.source(), MoreAppsSource::bundled);
    EXPECT_EQ(ids(bundled), std::vector<std::string>{"bundled"});

    writeFile(cacheFile(), feed({app("kestrix"), app("tern", "https://orvane.com/tern")}, 2));
    EXPECT_EQ(MoreAppsList(config(), loader_).source(), MoreAppsSource::bundled);

    writeFile(cacheFile(), feed({app("kestrix"), app("cached")}));
    MoreAppsList cached(config(), loader_);
    EXPECT_EQ(cached.source(), MoreAppsSource::cache);
    EXPECT_EQ(ids(cached), std::vector<std::string>{"cached"});
    EXPECT_TRUE(requests_.empty());
}

TEST_F(MoreAppsListTest, RefreshReplacesTheListOnlyWithANewFeed) {
    writeFile(cacheFile(), feed({app("cached")}));
    MoreAppsList list(config(), loader_);

    list.refresh();  // transport error
    EXPECT_EQ(list.source(), MoreAppsSource::cache);
    EXPECT_EQ(ids(list), std::vector<std::string>{"cached"});

    now_ += std::chrono::hours(25);
    answer_ = ok(feed({app("kestrix"), app("fresh")}));
    list.refresh();
    EXPECT_EQ(list.source(), MoreAppsSource::network);
    EXPECT_EQ(ids(list), std::vector<std::string>{"fresh"});
}

TEST_F(MoreAppsListTest, NoRefreshWithoutNetworkPermission) {
    answer_ = ok(feed({app("fresh")}));
    MoreAppsList list(config(false), loader_);
    list.refresh();
    EXPECT_TRUE(requests_.empty());
    EXPECT_EQ(list.source(), MoreAppsSource::none);
}
