#include "LoaderFixture.h"

using namespace moreapps;
using namespace moreapps::fixtures;

namespace {

constexpr double hour = 3600;
const std::string cachedData = feed({app("cached")});
const std::string newData = feed({app("fresh"), app("other")});

}  // namespace

class MoreAppsLoaderTest : public LoaderFixture {
protected:
    void checkedAgo(double seconds) {
        loader_.writeMeta({.etag = "\"v1\"", .lastModified = "Mon, 01 Jan 2024 00:00:00 GMT",
                           .checkedAt = now_ - std::chrono::duration<double>(seconds)});
    }
};

TEST_F(MoreAppsLoaderTest, ChecksAtMostOnceADayUnlessTheDateLiesAhead) {
    checkedAgo(2 * hour);
    EXPECT_EQ(loader_.refresh(), std::nullopt);
    EXPECT_TRUE(requests_.empty());
    EXPECT_EQ(loader_.readMeta().checkedAt, now_ - std::chrono::duration<double>(2 * hour));

    checkedAgo(-5 * hour);
    loader_.refresh();
    EXPECT_EQ(requests_.size(), 1u);
}

TEST_F(MoreAppsLoaderTest, RequestIsConditionalOnlyWithAUsableCache) {
    checkedAgo(48 * hour);
    loader_.refresh();
    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_EQ(requests_[0], (MoreAppsRequest{.url = "https://orvane.com/linux/more-apps.json",
                                             .headers = {{"Accept", "application/json"}},
                                             .timeoutSeconds = 5,
                                             .ignoresLocalCache = true}));

    writeFile(cacheFile(), cachedData);
    checkedAgo(48 * hour);
    loader_.refresh();
    ASSERT_EQ(requests_.size(), 2u);
    EXPECT_EQ(requests_[1].headers, (std::vector<std::pair<std::string, std::string>>{
                                        {"Accept", "application/json"},
                                        {"If-None-Match", "\"v1\""},
                                        {"If-Modified-Since", "Mon, 01 Jan 2024 00:00:00 GMT"}}));

    // A stored value that would split the header is not sent.
    loader_.writeMeta({.etag = "\"v1\"\r\nX-Evil: 1", .lastModified = std::nullopt, .checkedAt = std::nullopt});
    loader_.refresh();
    ASSERT_EQ(requests_.size(), 3u);
    EXPECT_EQ(requests_[2].headers.size(), 1u);
}

TEST_F(MoreAppsLoaderTest, NotModifiedChangesNothingAndWaitsADay) {
    writeFile(cacheFile(), cachedData);
    checkedAgo(30 * hour);
    auto notModified = ok("");
    notModified.status = 304;
    answer_ = notModified;

    EXPECT_EQ(loader_.refresh(), std::nullopt);
    EXPECT_EQ(readFile(cacheFile()), cachedData);
    EXPECT_EQ(loader_.readMeta(), (MoreAppsMeta{.etag = "\"v1\"", .lastModified = "Mon, 01 Jan 2024 00:00:00 GMT",
                                                .checkedAt = now_}));
    now_ += std::chrono::duration<double>(23.9 * hour);
    loader_.refresh();
    EXPECT_EQ(requests_.size(), 1u);
    now_ += std::chrono::duration<double>(0.1 * hour);
    loader_.refresh();
    EXPECT_EQ(requests_.size(), 2u);
}

TEST_F(MoreAppsLoaderTest, OnlyA200FromTheSameHttpsHostIsAccepted) {
    writeFile(cacheFile(), cachedData);
    for (const auto& [url, status] : std::vector<std::pair<std::string, int>>{
             {"https://evil.example/linux/more-apps.json", 200},
             {"http://orvane.com/linux/more-apps.json", 200},
             {"https://orvane.com/linux/more-apps.json", 203}}) {
        auto response = ok(newData);
        response.url = url;
        response.status = status;
        answer_ = response;
        loader_.writeMeta({});
        EXPECT_EQ(loader_.refresh(), std::nullopt) << url << " " << status;
    }
    EXPECT_EQ(readFile(cacheFile()), cachedData);

    answer_ = ok(newData);
    std::get<MoreAppsResponse>(answer_).url = "https://ORVANE.com/elsewhere.json";
    loader_.writeMeta({});
    EXPECT_NE(loader_.refresh(), std::nullopt);
}

TEST_F(MoreAppsLoaderTest, BadBodyLeavesTheCacheUntouched) {
    writeFile(cacheFile(), cachedData);
    answer_ = ok(feed({app("bad", "https://evil.example/")}));
    EXPECT_EQ(loader_.refresh(), std::nullopt);
    EXPECT_EQ(readFile(cacheFile()), cachedData);
    EXPECT_EQ(loader_.readMeta(), (MoreAppsMeta{.etag = std::nullopt, .lastModified = std::nullopt,
                                                .checkedAt = now_}));
}

TEST_F(MoreAppsLoaderTest, GoodBodyIsCachedVerbatimWithItsValidators) {
    const std::string body = "  " + newData + "\n";
    answer_ = ok(body);
    const auto feed = loader_.refresh();
    ASSERT_TRUE(feed);
    EXPECT_EQ(feed->apps.size(), 2u);
    EXPECT_EQ(readFile(cacheFile()), body);
    EXPECT_EQ(loader_.readMeta(), (MoreAppsMeta{.etag = "\"v2\"", .lastModified = "Tue, 02 Jan 2024 00:00:00 GMT",
                                                .checkedAt = now_}));
    // Seconds since 2001-01-01 00:00:00 UTC.
    EXPECT_NE(readFile(loader_.cacheDirectory / MoreAppsLoader::metaFileName).find("\"checkedAt\":750000000"),
              std::string::npos);
}

TEST_F(MoreAppsLoaderTest, AFeedThatCannotBeCachedIsNotReturned) {
    writeFile(root_ / "blocked", "x");
    loader_.cacheDirectory = root_ / "blocked" / "MoreApps";
    answer_ = ok(newData);
    EXPECT_EQ(loader_.refresh(), std::nullopt);
    EXPECT_EQ(requests_.size(), 1u);
}
