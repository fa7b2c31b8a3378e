#include "LoaderFixture.h"

using namespace moreapps;
using namespace moreapps::testing;

namespace {

constexpr double hour = 3600;

std::string cachedFeedData() { return feed({app("cached")}); }
std::string newFeedData() { return feed({app("fresh"), app("other")}); }

}  // namespace

class MoreAppsLoaderTest : public LoaderFixture {
protected:
    void checkedAgo(double seconds) {
        loader_.writeMeta({.etag = "\"v1\"", .lastModified = "Mon, 01 Jan 2024 00:00:00 GMT",
                           .checkedAt = now_ - std::chrono::duration<double>(seconds)});
    }
};

TEST_F(MoreAppsLoaderTest, ChecksAtMostOnceADay) {
    checkedAgo(2 * hour);
    EXPECT_EQ(loader_.refresh(), std::nullopt);
    EXPECT_TRUE(requests_.empty());
    EXPECT_EQ(loader_.readMeta().checkedAt, now_ - std::chrono::duration<double>(2 * hour));

    checkedAgo(24 * hour);
    loader_.refresh();
    EXPECT_EQ(requests_.size(), 1u);
}

TEST_F(MoreAppsLoaderTest, AFutureCheckDateDoesNotHoldOffTheCheck) {
    checkedAgo(-5 * hour);
    loader_.refresh();
    EXPECT_EQ(requests_.size(), 1u);
}

TEST_F(MoreAppsLoaderTest, RequestIsConditionalOnlyWithAUsableCache) {
    checkedAgo(48 * hour);
    loader_.refresh();
    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_EQ(requests_[0], (MoreAppsRequest{.url = "https://orvane.com/mac/more-apps.json",
                                             .headers = {{"Accept", "application/json"}},
                                             .timeoutSeconds = 5,
                                             .ignoresLocalCache = true}));

    writeFile(cacheFile(), cachedFeedData());
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
    writeFile(cacheFile(), cachedFeedData());
    checkedAgo(30 * hour);
    auto notModified = ok("");
    notModified.status = 304;
    answer_ = notModified;

    EXPECT_EQ(loader_.refresh(), std::nullopt);
    EXPECT_EQ(readFile(cacheFile()), cachedFeedData());
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
    writeFile(cacheFile(), cachedFeedData());
    for (const auto& [url, status] : std::vector<std::pair<std::string, int>>{
             {"https://evil.example/mac/more-apps.json", 200},
             {"http://orvane.com/mac/more-apps.json", 200},
             {"https://orvane.com/mac/more-apps.json", 203},
             {"https://orvane.com/mac/more-apps.json", 500},
             {"not a url", 200}}) {
        auto response = ok(newFeedData());
        response.url = url;
        response.status = status;
        answer_ = response;
        loader_.writeMeta({});
        EXPECT_EQ(loader_.refresh(), std::nullopt) << url << " " << status;
    }
    EXPECT_EQ(requests_.size(), 5u);
    EXPECT_EQ(readFile(cacheFile()), cachedFeedData());

    auto sameHostOtherCase = ok(newFeedData());
    sameHostOtherCase.url = "https://ORVANE.com/elsewhere.json";
    answer_ = sameHostOtherCase;
    loader_.writeMeta({});
    EXPECT_NE(loader_.refresh(), std::nullopt);
}

TEST_F(MoreAppsLoaderTest, BadBodyLeavesTheCacheUntouched) {
    writeFile(cacheFile(), cachedFeedData());
    answer_ = ok(feed({app("bad", "https://evil.example/")}));
    EXPECT_EQ(loader_.refresh(), std::nullopt);
    EXPECT_EQ(readFile(cacheFile()), cachedFeedData());
    EXPECT_EQ(loader_.readMeta().etag, std::nullopt);
    EXPECT_EQ(loader_.readMeta().checkedAt, now_);
}

TEST_F(MoreAppsLoaderTest, GoodBodyIsCachedVerbatimWithItsValidators) {
    const std::string body = "  " + newFeedData() + "\n";
    answer_ = ok(body);
    const auto feed = loader_.refresh();
    ASSERT_TRUE(feed);
    EXPECT_EQ(feed->apps.size(), 2u);
    EXPECT_EQ(readFile(cacheFile()), body);
    EXPECT_EQ(loader_.readMeta(), (MoreAppsMeta{.etag = "\"v2\"", .lastModified = "Tue, 02 Jan 2024 00:00:00 GMT",
                                                .checkedAt = now_}));
    EXPECT_EQ(loader_.cachedFeed(), feed);
}

TEST_F(MoreAppsLoaderTest, FailuresEndWithNothing) {
    EXPECT_EQ(loader_.refresh(), std::nullopt);  // transport error
    EXPECT_EQ(requests_.size(), 1u);

    // The cache folder cannot be created: a file is in the way.
    writeFile(root_ / "blocked", "x");
    loader_.cacheDirectory = root_ / "blocked" / "MoreApps";
    answer_ = ok(newFeedData());
    EXPECT_EQ(loader_.refresh(), std::nullopt);
    EXPECT_EQ(requests_.size(), 2u);
}

TEST_F(MoreAppsLoaderTest, MetaIsStoredAsSecondsSince2001) {
    loader_.writeMeta({.etag = std::nullopt, .lastModified = std::nullopt,
                       .checkedAt = dateFromSecondsSinceReferenceDate(1.5)});
    EXPECT_EQ(readFile(metaFile()), R"({"checkedAt":1.5})");
    EXPECT_EQ(std::chrono::duration<double>(dateFromSecondsSinceReferenceDate(0).time_since_epoch()).count(),
              978307200.0);

    for (const char* unusable : {"", "[]", "{\"checkedAt\":\"yesterday\"}", "{\"etag\":5,\"checkedAt\":1}"}) {
        EXPECT_EQ(MoreAppsMeta::decode(unusable), MoreAppsMeta{}) << unusable;
    }
    // A date no clock reaches never throttles.
    writeFile(metaFile(), R"({"checkedAt":1e308})");
    loader_.refresh();
    writeFile(metaFile(), R"({"checkedAt":-1e308})");
    loader_.refresh();
    EXPECT_EQ(requests_.size(), 2u);
}
