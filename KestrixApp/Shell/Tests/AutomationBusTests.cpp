#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QFile>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <fstream>

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
    void startApp(const std::string& world = "two-drives-world.json", const QStringList& links = {}) {
        app_.setProcessEnvironment(environment_);
        app_.start(KESTRIX_PATH, QStringList{"--world", QString::fromStdString(worldPath(world)), "--history",
                                             historyPath(), "--background"} + links);
        ASSERT_TRUE(app_.waitForStarted(5000));
        ASSERT_TRUE(bus_.waitForOwner("com.orvane.Kestrix")) << "the app never took its bus name";
    }

    Finished kestrix(const QStringList& arguments, const QProcessEnvironment& environment) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(KESTRIX_PATH, arguments);
        process.waitForFinished(60000);
        return {process.exitCode(), process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }
    Finished kestrix(const QStringList& arguments) { return kestrix(arguments, environment_); }

    // What cron, ssh or a udev rule has: no display of any kind.
    QProcessEnvironment withoutDisplay() const {
        QProcessEnvironment bare = environment_;
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) bare.remove(name);
        return bare;
    }

    nlohmann::json statusJson() { return nlohmann::json::parse(status().toStdString()); }

    // Waits until the listed drives are those named.
    bool drivesAre(const std::vector<std::string>& names) {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000) {
            std::vector<std::string> listed;
            const nlohmann::json now = statusJson();
            for (const auto& drive : now["drives"]) listed.push_back(drive["name"].get<std::string>());
            if (listed == names) return true;
            QThread::msleep(50);
        }
        return false;
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

TEST_F(AutomationOnBus, LinksGivenAtTheFirstStartWaitForTheDrivesToBeListed) {
    startApp("two-drives-world.json", {"kestrix://eject?drive=Camera"});
    EXPECT_TRUE(drivesAre({"Travel SSD"})) << status().toStdString();
    std::ifstream history(historyPath().toStdString());
    const std::string recorded{std::istreambuf_iterator<char>(history), {}};
    EXPECT_NE(recorded.find("\"Camera\""), std::string::npos) << "the eject is in the history";
    EXPECT_EQ(recorded.find("No drive named"), std::string::npos);
}

TEST_F(AutomationOnBus, ALinkReachesTheRunningAppFromAPlaceWithoutADisplay) {
    startApp();
    const Finished second = kestrix({"kestrix://eject?drive=Camera"}, withoutDisplay());
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_TRUE(drivesAre({"Travel SSD"}));
    const Finished shown = kestrix({}, withoutDisplay());
    EXPECT_EQ(shown.status, 0) << shown.err;
}

TEST_F(AutomationOnBus, ALinkHandedToABusyAppReturnsAtOnceAndIsCarriedOutLater) {
    startApp();
    ASSERT_TRUE(drivesAre({"Travel SSD", "Camera"}));
    const auto pid = static_cast<pid_t>(app_.processId());
    ASSERT_EQ(::kill(pid, SIGSTOP), 0);
    const Finished second = kestrix({"kestrix://eject?drive=Camera"}, withoutDisplay());
    ::kill(pid, SIGCONT);
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.err, "");
    EXPECT_TRUE(drivesAre({"Travel SSD"}));
}

TEST_F(AutomationOnBus, ActionsReturnWhetherEveryDriveAskedForWasEjected) {
    startApp("camera-in-use-world.json");
    const Finished refused = kestrix({"--action", "eject", "camera\x1b[2j"}, withoutDisplay());
    EXPECT_EQ(refused.status, 3);
    // The name is shown as the command-line tool shows it: its escape written out, never run.
    EXPECT_EQ(refused.out, "Camera\\u{1B}[2J is in use by vim.\n");

    const Finished missing = kestrix({"--action", "eject", "Nowhere"}, withoutDisplay());
    EXPECT_EQ(missing.status, 1);

    const Finished all = kestrix({"--action", "eject-all"}, withoutDisplay());
    EXPECT_EQ(all.status, 3);
    EXPECT_EQ(all.out, "Ejected: 1 of 2. Camera\\u{1B}[2J is in use by vim.\n");
}

TEST_F(AutomationOnBus, ALinkRunInATerminalPrintsItsResultAndReturnsTheActionStatus) {
    startApp("camera-in-use-world.json");
    ASSERT_TRUE(drivesAre({"Travel SSD", "Camera\x1b[2J"}));
    // script gives the second start a terminal, as a user typing the link has.
    if (QStandardPaths::findExecutable("script").isEmpty()) GTEST_SKIP() << "script (util-linux) is not installed";
    QProcess terminal;
    terminal.setProcessEnvironment(withoutDisplay());
    terminal.start("script", {"-qec", QString("'") + KESTRIX_PATH + "' 'kestrix://eject?drive=Camera%1B%5B2J'",
                              "/dev/null"});
    ASSERT_TRUE(terminal.waitForFinished(60000));
    EXPECT_EQ(terminal.exitCode(), 3);
    EXPECT_NE(terminal.readAllStandardOutput().toStdString().find("is in use by vim."), std::string::npos);
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
