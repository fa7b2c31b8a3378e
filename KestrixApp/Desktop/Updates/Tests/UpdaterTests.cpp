#include <gtest/gtest.h>

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "KestrixApp/Desktop/Updates/FeedRequests.h"
#include "KestrixApp/Desktop/Updates/UpdateAlerts.h"
#include "KestrixApp/Desktop/Updates/Updater.h"
#include "LocalHttpServer.h"

namespace {

using namespace kestrix::desktop;
using namespace std::chrono_literals;

// Remembers what the user would have been told.
class RecordingAlerts : public UpdateAlerts {
public:
    void upToDate(const UpdateNotice& notice) override { shown.push_back("upToDate: " + notice.message); }
    void couldNotCheck(const UpdateNotice& notice) override { shown.push_back("couldNotCheck: " + notice.message); }
    void newVersion(const UpdateNotice& notice, const QUrl& page) override {
        shown.push_back("newVersion: " + notice.title + " " + page.toString());
    }
    void newVersionFound(const UpdateNotice& notice, const QUrl& page) override {
        shown.push_back("newVersionFound: " + notice.title + " " + page.toString());
    }
    QStringList shown;
};

QByteArray appcastOffering(const QByteArray& version) {
    return R"(<?xml version="1.0"?><rss version="2.0" xmlns:sparkle="https://orvane.com/kestrix/appcast-fields">
<channel><item><sparkle:shortVersionString>)" +
           version + "</sparkle:shortVersionString><link>https://orvane.com/kestrix/" + version +
           "</link></item></channel></rss>";
}

const QString upToDateMessage = "upToDate: Kestrix 0.1 is the newest version. Kestrix checks for updates on its own "
                                "and will let you know when there’s a new one.";
const QString couldNotCheckMessage =
    "couldNotCheck: Check your internet connection and try again. Kestrix also checks on its own about once a day.";

class UpdateChecks : public testing::Test {
protected:
    void SetUp() override {
        // Only the local server is ever asked, whatever proxy the environment names.
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        ASSERT_TRUE(folder_.isValid());
        server_.answer("/feed.xml", {.status = 200, .body = appcastOffering("0.2")});
        server_.answer("/current.xml", {.status = 200, .body = appcastOffering("0.1")});
        server_.answer("/gone.xml", {.status = 410});
        server_.answer("/no-head.xml", {.status = 200, .body = appcastOffering("0.10"), .headStatus = 405});
        server_.answer("/broken.xml", {.status = 500});
        server_.answer("/garbled.xml", {.status = 200, .body = "<rss><channel><item>"});
        server_.answer("/silent.xml", {.silent = true});
        server_.answer("/head-only.xml", {.status = 500, .headStatus = 200});
    }

    std::unique_ptr<Updater> updater(const QString& path) {
        return std::make_unique<Updater>(alerts_, settings_,
                                         UpdaterOptions{.feed = server_.url(path),
                                                        .timeout = 500ms,
                                                        .appName = "Kestrix",
                                                        .version = "0.1",
                                                        .now = [this] { return now_; }});
    }

    // The outcome of one check the user asked for.
    QStringList userCheck(const QString& path) {
        auto checker = updater(path);
        QSignalSpy finished(checker.get(), &Updater::checkFinished);
        checker->checkForUpdates();
        EXPECT_TRUE(finished.wait(5000)) << path.toStdString();
        return alerts_.shown;
    }

    QTemporaryDir folder_;
    QSettings settings_{folder_.filePath("settings.ini"), QSettings::IniFormat};
    LocalHttpServer server_;
    RecordingAlerts alerts_;
    QDateTime now_ = QDateTime(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);
};

TEST_F(UpdateChecks, TheProbeReadsTheServersAnswer) {
    QNetworkAccessManager network;
    const std::pair<QString, ProbeResult> table[] = {
        {"/feed.xml", ProbeResult::reachable},     {"/missing.xml", ProbeResult::noFeed},
        {"/gone.xml", ProbeResult::noFeed},        {"/no-head.xml", ProbeResult::reachable},
        {"/broken.xml", ProbeResult::unreachable}, {"/silent.xml", ProbeResult::unreachable},
    };
    for (const auto& [path, expected] : table) {
        std::optional<ProbeResult> result;
        probe(network, server_.url(path), 300ms, &network, [&](ProbeResult answer) { result = answer; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 5000)) << path.toStdString();
        EXPECT_EQ(result, expected) << path.toStdString();
    }
    EXPECT_EQ(server_.requests().first(), "HEAD /feed.xml");

    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const auto nobody = QUrl(QStringLiteral("http://127.0.0.1:%1/feed.xml").arg(closed.serverPort()));
    closed.close();
    std::optional<ProbeResult> result;
    probe(network, nobody, 300ms, &network, [&](ProbeResult answer) { result = answer; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 5000));
    EXPECT_EQ(result, ProbeResult::unreachable) << "nothing listening";
}

TEST_F(UpdateChecks, ANewerVersionOffersItsDownloadPage) {
    EXPECT_EQ(userCheck("/feed.xml"), QStringList{"newVersion: Kestrix 0.2 is available https://orvane.com/kestrix/0.2"});
    EXPECT_EQ(server_.requests(), (QStringList{"HEAD /feed.xml", "GET /feed.xml"}));
}

TEST_F(UpdateChecks, AServerThatRefusesHeadIsStillRead) {
    EXPECT_EQ(userCheck("/no-head.xml"),
              QStringList{"newVersion: Kestrix 0.10 is available https://orvane.com/kestrix/0.10"});
}

TEST_F(UpdateChecks, OurOwnVersionOrAMissingFeedIsUpToDate) {
    EXPECT_EQ(userCheck("/current.xml"), QStringList{upToDateMessage});
    alerts_.shown.clear();
    EXPECT_EQ(userCheck("/missing.xml"), QStringList{upToDateMessage});
    EXPECT_EQ(server_.requests().last(), "HEAD /missing.xml") << "a missing feed is not downloaded";
}

TEST_F(UpdateChecks, FailuresSayTheyCouldNotCheck) {
    for (const auto* path : {"/broken.xml", "/silent.xml", "/garbled.xml", "/head-only.xml"}) {
        alerts_.shown.clear();
        EXPECT_EQ(userCheck(path), QStringList{couldNotCheckMessage}) << path;
    }
}

TEST_F(UpdateChecks, ADripFeedingServerCannotHoldTheCheckAndTheNextCheckRuns) {
    server_.answer("/drip.xml", {.status = 200, .body = appcastOffering("0.2"), .dripMilliseconds = 100});
    auto checker = updater("/drip.xml");
    QSignalSpy finished(checker.get(), &Updater::checkFinished);
    checker->checkForUpdates();
    // Each byte comes well within the 500 ms between bytes; the whole feed would take 20 s.
    ASSERT_TRUE(finished.wait(10000)) << "the check never ended";
    EXPECT_EQ(alerts_.shown, QStringList{couldNotCheckMessage});
    EXPECT_FALSE(checker->isChecking());
    checker->checkForUpdates();
    EXPECT_TRUE(checker->isChecking()) << "the user's next check runs";
}

TEST_F(UpdateChecks, AFeedLargerThanAnyAppcastIsRefusedHoweverFastItCame) {
    // A valid appcast that 6.7 MiB of comment make far larger than any real one.
    const QByteArray padding = "<!--" + QByteArray(7'000'000, 'x') + "-->";
    server_.answer("/huge.xml", {.status = 200, .body = appcastOffering("0.2").replace("<channel>", "<channel>" + padding)});
    EXPECT_EQ(userCheck("/huge.xml"), QStringList{couldNotCheckMessage});
}

TEST_F(UpdateChecks, ASecondRequestWhileOneRunsIsIgnored) {
    auto checker = updater("/feed.xml");
    QSignalSpy finished(checker.get(), &Updater::checkFinished);
    checker->checkForUpdates();
    EXPECT_TRUE(checker->isChecking());
    checker->checkForUpdates();
    ASSERT_TRUE(finished.wait(5000));
    QTest::qWait(200);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(checker->isChecking());
    EXPECT_EQ(server_.requests().count("HEAD /feed.xml"), 1);
    EXPECT_EQ(alerts_.shown.size(), 1);
}

TEST_F(UpdateChecks, TheDailyCheckWaitsForWhatIsLeftOfTheDay) {
    settings_.setValue(Updater::lastCheckKey, now_.addSecs(-2 * 3600).toString(Qt::ISODateWithMs));
    auto checker = updater("/feed.xml");
    EXPECT_EQ(checker->dailyCheckDelay(), std::nullopt);
    checker->startDailyChecks();
    EXPECT_EQ(checker->dailyCheckDelay(), std::chrono::milliseconds(22h));
    QTest::qWait(100);
    EXPECT_TRUE(server_.requests().isEmpty());
}

TEST_F(UpdateChecks, WithNoCheckStoredTheDailyCheckRunsNowAndTellsOnlyOfNews) {
    auto checker = updater("/feed.xml");
    QSignalSpy finished(checker.get(), &Updater::checkFinished);
    checker->startDailyChecks();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(alerts_.shown, QStringList{"newVersionFound: Kestrix 0.2 is available https://orvane.com/kestrix/0.2"});
    EXPECT_EQ(settings_.value(Updater::lastCheckKey).toString(), now_.toString(Qt::ISODateWithMs));
    EXPECT_EQ(checker->dailyCheckDelay(), std::chrono::milliseconds(24h)) << "the next one a day later";
}

TEST_F(UpdateChecks, TheDailyCheckKeepsQuietWhenNothingIsNew) {
    for (const auto* path : {"/current.xml", "/broken.xml"}) {
        settings_.remove(Updater::lastCheckKey);
        auto checker = updater(path);
        QSignalSpy finished(checker.get(), &Updater::checkFinished);
        checker->startDailyChecks();
        ASSERT_TRUE(finished.wait(5000)) << path;
    }
    EXPECT_TRUE(alerts_.shown.isEmpty());
}

TEST_F(UpdateChecks, AskingDuringTheDailyCheckReportsItsOutcome) {
    auto checker = updater("/current.xml");
    QSignalSpy finished(checker.get(), &Updater::checkFinished);
    checker->startDailyChecks();
    ASSERT_TRUE(QTest::qWaitFor([&] { return checker->isChecking(); }, 5000));
    checker->checkForUpdates();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(alerts_.shown, QStringList{upToDateMessage});
    EXPECT_EQ(server_.requests().count("HEAD /current.xml"), 1);
}

}  // namespace
