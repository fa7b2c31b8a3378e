#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "KestrixApp/Shell/Tests/ShellHarness.h"
#include "KestrixApp/TestSupport/PrivateSessionBus.h"

namespace {

using kestrix::shell::test::worldPath;

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

// The app and its second starts on a session bus of their own, with a world for a system.
class AutomationOnBus : public testing::Test {
protected:
    void SetUp() override {
        if (!bus_.problem().empty()) GTEST_SKIP() << bus_.problem();
        address_ = QString::fromStdString(bus_.address());
        environment_ = QProcessEnvironment::systemEnvironment();
        environment_.insert("DBUS_SESSION_BUS_ADDRESS", address_);
        environment_.insert("QT_QPA_PLATFORM", "offscreen");
        environment_.insert("XDG_CONFIG_HOME", folder_.path() + "/config");
        environment_.remove("DISPLAY");
    }

    void TearDown() override {
        if (app_.state() != QProcess::NotRunning) {
            app_.kill();
            app_.waitForFinished(5000);
        }
    }

    QString historyPath() const { return folder_.path() + "/history.json"; }

    // Starts the first instance and waits until it answers on the bus.
    void startApp() {
        app_.setProcessEnvironment(environment_);
        app_.start(KESTRIX_PATH, {"--world", QString::fromStdString(worldPath("two-drives-world.json")), "--history",
                                  historyPath(), "--background"});
        ASSERT_TRUE(app_.waitForStarted(5000));
        ASSERT_TRUE(bus_.waitForOwner("com.orvane.Kestrix")) << "the app never took its bus name";
    }

    Finished kestrix(const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(environment_);
        process.start(KESTRIX_PATH, arguments);
        process.waitForFinished(30000);
        return {process.exitCode(), process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }

    QString status() {
        const auto reply = bus_.connection().call(
            QDBusMessage::createMethodCall("com.orvane.Kestrix", "/com/orvane/Kestrix", "com.orvane.Kestrix", "Status"));
        return reply.arguments().value(0).toString();
    }

    kestrix::desktop::test::PrivateSessionBus bus_;
    QTemporaryDir folder_;
    QString address_;
    QProcessEnvironment environment_;
    QProcess app_;
};

TEST_F(AutomationOnBus, ASecondStartHandsItsLinkToTheFirst) {
    startApp();
    // The first check of each drive runs after start-up; a drive is busy until it is done.
    QElapsedTimer checked;
    checked.start();
    auto before = nlohmann::json::parse(status().toStdString());
    while (before["drives"].size() == 2u && before["drives"][0]["display"] == "busy" && checked.elapsed() < 10000) {
        QThread::msleep(50);
        before = nlohmann::json::parse(status().toStdString());
    }
    ASSERT_EQ(before["drives"].size(), 2u);
    EXPECT_EQ(before["drives"][0]["display"], "ready");
    EXPECT_EQ(before["attentionCount"], 0);

    const Finished second = kestrix({"kestrix://eject-all"});
    EXPECT_EQ(second.status, 0) << second.err;
    QElapsedTimer waited;
    waited.start();
    while (!nlohmann::json::parse(status().toStdString())["drives"].empty() && waited.elapsed() < 10000)
        QThread::msleep(50);
    EXPECT_TRUE(nlohmann::json::parse(status().toStdString())["drives"].empty());
    EXPECT_EQ(app_.state(), QProcess::Running) << "one app, still running";
}

TEST_F(AutomationOnBus, ActionsPrintTheirSentenceOrWhyNot) {
    startApp();
    const Finished unknown = kestrix({"--action", "eject", "Nowhere"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "No drive named Nowhere is connected.\n");

    const Finished eject = kestrix({"--action", "eject", "travel ssd"});
    EXPECT_EQ(eject.status, 0) << eject.err;
    EXPECT_EQ(eject.out, "Travel SSD ejected. It’s safe to unplug.\n");

    const Finished all = kestrix({"--action", "eject-all"});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, "Ejected: 1 of 1.\n");
}

TEST_F(AutomationOnBus, AnActionWithNoAppGivesUpAfterAboutFourSeconds) {
    QElapsedTimer elapsed;
    elapsed.start();
    const Finished action = kestrix({"--action", "eject-all"});
    EXPECT_EQ(action.status, 1);
    EXPECT_EQ(action.err, "Kestrix didn’t start in time. Open it and try again.\n");
    EXPECT_GE(elapsed.elapsed(), 3500);
}

}  // namespace
