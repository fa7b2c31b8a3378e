#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include "KestrixApp/Shell/AutomationService.h"
#include "KestrixApp/TestSupport/PrivateSessionBus.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"
#include "UDisks2/TestSupport/Eventually.h"
#include "UDisks2/TestSupport/LoopImage.h"
#include "UDisks2/TestSupport/OrdinaryUser.h"
#include "UDisks2/TestSupport/ServiceMount.h"
#include "UDisks2/TestSupport/UDisks2Daemon.h"
#include "UDisks2/TestSupport/UserSessionRules.h"

using kestrix::test::LoopImage;
using namespace kestrix::shell;

namespace {

// The app run by an ordinary user, on a session bus of the test's own, against the real disk
// service and polkit on a private system bus; the services start once for all the tests.
class OrdinaryUserApp : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto found = kestrix::test::ordinaryUser();
        if (const auto* reason = std::get_if<std::string>(&found)) {
            skipReason_ = *reason;
            return;
        }
        user_ = std::get<kestrix::test::OrdinaryUser>(found);
        daemon_ = std::make_unique<kestrix::test::UDisks2Daemon>(kestrix::test::userSessionRules(user_->name));
        skipReason_ = daemon_->skipReason();
    }
    static void TearDownTestSuite() { daemon_.reset(); }

    void SetUp() override {
        if (skipReason_) GTEST_SKIP() << *skipReason_;
        if (!session_.problem().empty()) GTEST_SKIP() << session_.problem();
        // The test's drives are disk images, which the app lists when the user's settings say so:
        // read from the user's own folder.
        const std::string line = user_->shellLine(
            {}, {"/bin/sh", "-c",
                 "mkdir -p \"$HOME/.config/orvane\" && printf '[General]\\nshowDiskImages=true\\n' > "
                 "\"$HOME/.config/orvane/Kestrix.conf\""});
        ASSERT_TRUE(kestrix::test::runQuietly(line));
        app_ = std::make_unique<kestrix::test::ChildProcess>(user_->command(
            {"DBUS_SYSTEM_BUS_ADDRESS=" + daemon_->bus().address(), "DBUS_SESSION_BUS_ADDRESS=" + session_.address(),
             "QT_QPA_PLATFORM=offscreen", "LANGUAGE=en", "LANG=C.UTF-8"},
            {KESTRIX_PATH, "--background"}));
        const QDBusConnection bus = session_.connection();
        if (!kestrix::test::eventually(
                [&] { return bus.interface()->isServiceRegistered(AutomationService::serviceName).value(); })) {
            GTEST_SKIP() << user_->name << " could not start " KESTRIX_PATH " (a folder on the way closed to others?)";
        }
    }

    // The sentence EjectDrive answers, once the app has listed the drive.
    QString ejectDrive(const std::string& name) const {
        QDBusMessage message = QDBusMessage::createMethodCall(AutomationService::serviceName, AutomationService::objectPath,
                                                              AutomationService::interfaceName, QStringLiteral("EjectDrive"));
        message << QString::fromStdString(name);
        QDBusMessage reply;
        kestrix::test::eventually([&] {
            reply = session_.connection().call(message, QDBus::Block, 120000);
            return reply.type() == QDBusMessage::ReplyMessage;
        });
        return reply.arguments().value(0).toString();
    }

    static std::optional<std::string> skipReason_;
    static std::optional<kestrix::test::OrdinaryUser> user_;
    static std::unique_ptr<kestrix::test::UDisks2Daemon> daemon_;
    kestrix::desktop::test::PrivateSessionBus session_;
    std::unique_ptr<kestrix::test::ChildProcess> app_;
};

std::optional<std::string> OrdinaryUserApp::skipReason_;
std::optional<kestrix::test::OrdinaryUser> OrdinaryUserApp::user_;
std::unique_ptr<kestrix::test::UDisks2Daemon> OrdinaryUserApp::daemon_;

}  // namespace

// The user's own drive ejects with no password, and what the app keeps goes into their folders;
// a drive root mounted wants a password that, with no polkit agent in the session, nothing can
// ask for, and the app says so.
TEST_F(OrdinaryUserApp, EjectDriveEjectsTheUsersDriveAndSaysWhenNoAgentCanAskForAPassword) {
    LoopImage own("KxApp"), roots("KxPwApp");
    if (own.skipReason()) GTEST_SKIP() << *own.skipReason();
    if (roots.skipReason()) GTEST_SKIP() << *roots.skipReason();
    ASSERT_TRUE(kestrix::test::mountThroughTheService(*daemon_, own, *user_));
    ASSERT_TRUE(roots.mountAsRoot());

    EXPECT_EQ(ejectDrive(own.label()).toStdString(), own.label() + " ejected. It\u2019s safe to unplug.");
    EXPECT_FALSE(own.mountPoint());
    struct stat history {};
    ASSERT_EQ(stat((user_->home + "/.local/share/com.orvane.kestrix/history.json").c_str(), &history), 0);
    EXPECT_EQ(history.st_uid, user_->uid);

    EXPECT_EQ(ejectDrive(roots.label()).toStdString(),
              "The system couldn\u2019t eject " + roots.label() +
                  " (it needs a password, and no polkit agent is running to ask for it).");
    EXPECT_TRUE(roots.mountPoint());
}
