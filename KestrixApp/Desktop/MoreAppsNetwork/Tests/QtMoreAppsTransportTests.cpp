#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QThreadPool>
#include <chrono>

#include "KestrixApp/Desktop/MoreAppsNetwork/QtMoreAppsTransport.h"
#include "LocalHttpsServer.h"
#include "MoreAppsKit/Linux/LocalFileStore.h"
#include "MoreAppsKit/MoreAppsList.h"

using namespace kestrix::desktop;
using namespace kestrix::desktop::test;
using moreapps::MoreAppsRequest;
using moreapps::MoreAppsResponse;
using moreapps::MoreAppsTransportError;

namespace {

const QByteArray feedBody =
    R"({"schema":1,"apps":[{"id":"plover","name":"Plover","detail":"Remembers what you copied.",)"
    R"("symbol":"doc.on.clipboard","tint":"indigo","url":"https://flathub.org/apps/com.orvane.Plover"}]})";

class QtMoreAppsTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (server_.failure()) GTEST_SKIP() << *server_.failure();
    }

    MoreAppsRequest request(const std::string& path = "/linux/more-apps.json", double timeout = 5) const {
        return {.url = server_.url(path), .headers = {{"Accept", "application/json"}}, .timeoutSeconds = timeout};
    }
    QtMoreAppsTransport transport() const { return QtMoreAppsTransport({server_.certificate()}); }

    LocalHttpsServer server_;
};

MoreAppsResponse answered(const moreapps::MoreAppsTransportResult& result) {
    const auto* response = std::get_if<MoreAppsResponse>(&result);
    EXPECT_NE(response, nullptr) << std::get<MoreAppsTransportError>(result).message;
    return response ? *response : MoreAppsResponse{};
}

}  // namespace

TEST_F(QtMoreAppsTransportTest, ReturnsTheAnswerWithItsHeadersAndSendsOnlyWhatWasAsked) {
    server_.answer({.status = 200, .headers = {{"ETag", "\"v7\""}, {"Set-Cookie", "a=b"}}, .body = feedBody});
    auto asked = request();
    asked.headers.emplace_back("If-None-Match", "\"v6\"");
    const auto first = answered(transport()(asked));
    EXPECT_EQ(first.status, 200);
    EXPECT_EQ(first.url, server_.url("/linux/more-apps.json"));
    EXPECT_EQ(first.header("etag"), "\"v7\"");
    EXPECT_EQ(first.body, feedBody.toStdString());

    // A second call is a fresh exchange: the cookie the server set is not sent back.
    const auto second = answered(transport()(request()));
    EXPECT_EQ(second.status, 200);
    const auto requests = server_.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].path, "/linux/more-apps.json");
    EXPECT_EQ(requests[0].headers.at("accept"), "application/json");
    EXPECT_EQ(requests[0].headers.at("if-none-match"), "\"v6\"");
    EXPECT_FALSE(requests[1].headers.contains("if-none-match"));
    EXPECT_FALSE(requests[1].headers.contains("cookie"));
}

// The app calls it from a worker of a thread pool, which has no event loop of its own.
TEST_F(QtMoreAppsTransportTest, WorksOnAPoolThread) {
    server_.answer({.status = 200, .headers = {}, .body = feedBody});
    moreapps::MoreAppsTransportResult result = MoreAppsTransportError{"not run"};
    QThreadPool pool;
    pool.start([&] { result = transport()(request()); });
    ASSERT_TRUE(pool.waitForDone(10000));
    EXPECT_EQ(answered(result).body, feedBody.toStdString());
}

TEST_F(QtMoreAppsTransportTest, ErrorStatusesAreAnswersNotFailures) {
    server_.answer({.status = 404, .headers = {}, .body = "gone"});
    EXPECT_EQ(answered(transport()(request())).status, 404);
    server_.answer({.status = 304, .headers = {}, .body = {}});
    EXPECT_EQ(answered(transport()(request())).status, 304);
}

TEST_F(QtMoreAppsTransportTest, RefusesWhatItMustNotFetchOrKeep) {
    // Only https.
    auto plain = request();
    plain.url = "http://127.0.0.1:1/linux/more-apps.json";
    EXPECT_TRUE(std::holds_alternative<MoreAppsTransportError>(transport()(plain)));

    // A certificate nobody vouches for: the system's authorities do not know the test's.
    server_.answer({.status = 200, .headers = {}, .body = feedBody});
    EXPECT_TRUE(std::holds_alternative<MoreAppsTransportError>(QtMoreAppsTransport()(request())));

    // More than any feed may be.
    server_.answer({.status = 200, .headers = {}, .body = QByteArray(300 * 1024, 'x')});
    EXPECT_TRUE(std::holds_alternative<MoreAppsTransportError>(transport()(request())));
}

TEST_F(QtMoreAppsTransportTest, DoesNotFollowARedirectToAnotherHost) {
    server_.answer({.status = 302,
                    .headers = {{"Location", QByteArray::fromStdString(server_.url("/elsewhere.json", "localhost"))}},
                    .body = {}});
    const auto result = transport()(request());
    if (const auto* response = std::get_if<MoreAppsResponse>(&result)) {
        EXPECT_NE(response->status, 200);
    }
    ASSERT_EQ(server_.requests().size(), 1u);
    EXPECT_EQ(server_.requests()[0].path, "/linux/more-apps.json");
}

TEST_F(QtMoreAppsTransportTest, GivesUpWhenTheServerNeverAnswers) {
    server_.answer({.status = 0, .headers = {}, .body = {}});
    const auto started = std::chrono::steady_clock::now();
    const auto result = transport()(request("/linux/more-apps.json", 0.3));
    EXPECT_TRUE(std::holds_alternative<MoreAppsTransportError>(result));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
}

// The loader over the real transport: a first download is cached with its validators, the next
// check a day later asks conditionally, and "not modified" keeps the cached list.
TEST_F(QtMoreAppsTransportTest, LoaderCachesThenAsksConditionally) {
    QTemporaryDir cache;
    auto now = moreapps::dateFromSecondsSinceReferenceDate(750000000);
    const moreapps::MoreAppsLoader loader{.feedURL = server_.url("/linux/more-apps.json"),
                                          .cacheDirectory = cache.filePath("MoreApps").toStdString(),
                                          .bundled = {},
                                          .now = [&now] { return now; },
                                          .transport = transport(),
                                          .files = std::make_shared<moreapps::LocalFileStore>()};
    server_.answer({.status = 200,
                    .headers = {{"ETag", "\"v1\""}, {"Last-Modified", "Tue, 02 Jan 2024 00:00:00 GMT"}},
                    .body = feedBody});
    ASSERT_TRUE(loader.refresh());

    now += std::chrono::hours(25);
    server_.answer({.status = 304, .headers = {}, .body = {}});
    moreapps::MoreAppsList list({.thisApp = "kestrix", .utmSource = "kestrix", .isDirect = true}, loader);
    list.refresh();
    EXPECT_EQ(list.source(), moreapps::MoreAppsSource::cache);
    ASSERT_EQ(list.apps().size(), 1u);

    const auto requests = server_.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_FALSE(requests[0].headers.contains("if-none-match"));
    EXPECT_EQ(requests[1].headers.at("if-none-match"), "\"v1\"");
    EXPECT_EQ(requests[1].headers.at("if-modified-since"), "Tue, 02 Jan 2024 00:00:00 GMT");
}
