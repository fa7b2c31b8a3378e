#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QFile>
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

    // Waits for the first check of every drive, which runs after start-up.
    void waitUntilChecked() {
        QElapsedTimer checked;
        checked.start();
        while (checked.elapsed() < 10000) {
            const auto drives = nlohmann::json::parse(status().toStdString())["drives"];
            if (drives.size() == 2u && drives[0]["display"] != "busy" && drives[1]["display"] != "busy") return;
            QThread::msleep(50);
        }
    }

    // The events in the history file, once it stopped changing for a moment.
    std::size_t savedEvents() const {
        std::size_t previous = 0;
        std::size_t count = 0;
        for (int look = 0; look < 40; ++look) {
            QFile file(historyPath());
            count = file.open(QIODevice::ReadOnly) ? nlohmann::json::parse(file.readAll().toStdString(), nullptr, false)
                                                         .value("events", nlohmann::json::array())
                                                         .size()
                                                   : 0;
            if (count > 0 && count == previous) return count;
            previous = count;
            QThread::msleep(250);
        }
        return count;
    }

    // The answers to the same call made several times at once.
    std::vector<QDBusMessage> callAtOnce(int times, const QString& method, const QVariantList& arguments) {
        std::vector<QDBusPendingCall> calls;
        for (int call = 0; call < times; ++call) {
            QDBusMessage message =
                QDBusMessage::createMethodCall("com.orvane.Kestrix", "/com/orvane/Kestrix", "com.orvane.Kestrix", method);
            message.setArguments(arguments);
            calls.push_back(bus_.connection().asyncCall(message, 30000));
        }
        std::vector<QDBusMessage> replies;
        for (QDBusPendingCall& call : calls) {
            call.waitForFinished();
            replies.push_back(call.reply());
        }
        return replies;
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

TEST_F(AutomationOnBus, TenEjectsOfOneDriveAtOnceAreOneEjectWithOneAnswerAndOneEvent) {
    startApp();
    waitUntilChecked();
    for (const QDBusMessage& reply : callAtOnce(10, "EjectDrive", {QString("Travel SSD")})) {
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        EXPECT_EQ(reply.arguments().value(0).toString(), "Travel SSD ejected. It’s safe to unplug.");
    }
    EXPECT_EQ(savedEvents(), 1u);
}

TEST_F(AutomationOnBus, EjectAllsAtOnceAreOneRunThatAnswersThemAll) {
    startApp();
    waitUntilChecked();
    for (const QDBusMessage& reply : callAtOnce(3, "EjectAllDrives", {})) {
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        EXPECT_EQ(reply.arguments().value(0).toString(), "Ejected: 2 of 2.") << "never \"No drives to eject.\"";
    }
    EXPECT_EQ(savedEvents(), 2u);
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
