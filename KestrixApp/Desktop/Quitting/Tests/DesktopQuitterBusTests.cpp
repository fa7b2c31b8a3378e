#include <gtest/gtest.h>

#include <unistd.h>

#include <QThread>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <thread>

#include "KestrixApp/Desktop/Quitting/DesktopQuitter.h"
#include "KestrixApp/Desktop/Quitting/Tests/CountingEjector.h"
#include "KestrixApp/TestSupport/PrivateSessionBus.h"
#include "KestrixApp/TestSupport/Waiting.h"
#include "KestrixKit/Flow/EjectFlow.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Linux/Processes/ProcfsSource.h"
#include "KestrixKit/Linux/Processes/Signals.h"

using namespace kestrix;
using namespace kestrix::desktop;
using namespace kestrix::desktop::test;
using kestrix::test::ChildProcess;

namespace {

constexpr const char* appID = "org.kestrix.TestEditor";

Holder appHolder(pid_t pid) {
    return Holder{.pid = pid,
                  .name = "Test Editor",
                  .uid = static_cast<std::uint32_t>(getuid()),
                  .app = AppIdentity{.name = "Test Editor", .bundleID = std::string(appID) + ".desktop", .isRegular = true},
                  .kind = HelperKind::app,
                  .startTime = Signals::startTime(pid)};
}

std::unique_ptr<ChildProcess> sleeper() {
    return std::make_unique<ChildProcess>(std::vector<std::string>{"/bin/sleep", "60"});
}

class DesktopQuitterOnSessionBus : public testing::Test {
protected:
    void SetUp() override {
        if (!bus.problem().empty()) GTEST_SKIP() << bus.problem();
        activationLog = bus.folder() + "/activations";
        application = std::make_unique<ChildProcess>(std::vector<std::string>{
            "/usr/bin/env", "DBUS_SESSION_BUS_ADDRESS=" + bus.address(), DESKTOP_TEST_CLIENTS "/GApplicationClient",
            appID, activationLog});
        ASSERT_TRUE(bus.waitForOwner(QString::fromLatin1(appID))) << "the GApplication never took its bus name";
    }

    // No X display: the session bus is the only route.
    std::shared_ptr<DesktopQuitter> quitter() const {
        return std::make_shared<DesktopQuitter>(std::nullopt, bus.connection(), getpid());
    }

    int activations() const {
        std::ifstream log(activationLog);
        return static_cast<int>(std::count(std::istreambuf_iterator<char>(log), {}, '\n'));
    }

    PrivateSessionBus bus;
    std::string activationLog;
    std::unique_ptr<ChildProcess> application;
};

// Found by the bus name its process owns: no desktop entry names it.
TEST_F(DesktopQuitterOnSessionBus, AGApplicationAskedFromAWorkerThreadQuitsThroughItsQuitAction) {
    const auto quitter = this->quitter();
    Holder holder = appHolder(application->pid());
    holder.app->bundleID.reset();
    EXPECT_EQ(quitter->reach(application->pid()), (AppReach{.canAskToQuit = true, .canShow = false}));
    // A Qt worker thread, as the app's eject tasks run on.
    bool asked = false;
    std::unique_ptr<QThread> worker(QThread::create([&] { asked = quitter->quitApp(holder); }));
    worker->start();
    worker->wait();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(application->hasExited());
}

// Activating a running app opens a new window in many apps: Show without a window to raise
// does nothing, and the flow does not show an app it can't raise.
TEST_F(DesktopQuitterOnSessionBus, ShowNeverActivatesTheApp) {
    // Running a GApplication activates it once.
    ASSERT_TRUE(waitUntil(5.0, [&] { return activations() == 1; }));
    const auto quitter = this->quitter();
    quitter->showApp(appHolder(application->pid()));
    // A call the app answers after any it was sent before.
    EXPECT_TRUE(quitter->reach(application->pid()).canAskToQuit);
    EXPECT_EQ(activations(), 1);
}

TEST_F(DesktopQuitterOnSessionBus, AnotherProcessClaimingTheAppsIdIsNeitherAskedNorReachable) {
    const auto impostor = sleeper();
    EXPECT_FALSE(quitter()->quitApp(appHolder(impostor->pid())));
    EXPECT_EQ(quitter()->reach(impostor->pid()), (AppReach{.canAskToQuit = false, .canShow = false}));
    EXPECT_FALSE(application->hasExited());
}

TEST(DesktopQuitterKdeApp, QuitsThroughItsMainApplicationObject) {
    PrivateSessionBus bus;
    if (!bus.problem().empty()) GTEST_SKIP() << bus.problem();
    const QString name = QStringLiteral("org.kde.kestrixtesteditor");
    ChildProcess app({"/usr/bin/env", "DBUS_SESSION_BUS_ADDRESS=" + bus.address(), "QT_QPA_PLATFORM=offscreen",
                      DESKTOP_TEST_CLIENTS "/QtKdeAppClient", name.toStdString()});
    ASSERT_TRUE(bus.waitForOwner(name)) << "the KDE stand-in never took its bus name";
    const auto quitter = std::make_shared<DesktopQuitter>(std::nullopt, bus.connection(), getpid());
    EXPECT_TRUE(quitter->reach(app.pid()).canAskToQuit);
    Holder holder = appHolder(app.pid());
    holder.app->bundleID.reset();
    EXPECT_TRUE(quitter->quitApp(holder));
    EXPECT_TRUE(waitUntil(5.0, [&] { return app.hasExited(); }));
}

// As in a Wayland session, for an app that neither runs on an X server nor answers on the bus:
// nothing is sent to it, never a signal, and the flow waits for the user to close it.
TEST(DesktopQuitterWithoutRoutes, AnAppIsNotAskedButWaitedForAndProgramsAreStillEnded) {
    auto app = sleeper();
    const auto program = sleeper();
    const auto quitter = std::make_shared<DesktopQuitter>(std::nullopt, QDBusConnection(QString()), getpid());
    Holder appHolder = ::appHolder(app->pid());
    appHolder.app->reach = quitter->reach(app->pid());
    EXPECT_EQ(appHolder.app->reach, (AppReach{.canAskToQuit = false, .canShow = false}));
    EXPECT_FALSE(quitter->quitApp(appHolder));

    auto ejector = std::make_shared<CountingEjector>();
    Holder tool = ::appHolder(program->pid());
    tool.app.reset();
    tool.kind = HelperKind::commandLine;
    int waits = 0;
    bool appAliveWhileWaiting = false;
    const EjectFlow flow{.scanner = HolderScanner{.source = std::make_shared<ProcfsSource>()},
                         .ejector = ejector,
                         .quitter = quitter,
                         .currentUID = static_cast<std::uint32_t>(getuid()),
                         // The user closes the app during the wait.
                         .sleep = [&](double) {
                             if (++waits == 1) {
                                 appAliveWhileWaiting = !app->hasExited();
                                 app.reset();
                             }
                         },
                         .now = [] { return std::chrono::system_clock::now(); }};
    const DriveReport report = flow.quitAndEject(Drive{.id = "stick"}, {appHolder, tool}, {program->pid()});

    EXPECT_TRUE(program->hasExited());
    EXPECT_TRUE(appAliveWhileWaiting) << "the app was ended rather than waited for";
    EXPECT_TRUE(report.verdict.is<DriveVerdict::Ejected>()) << report.verdict.caseName();
    EXPECT_EQ(ejector->requests, 1);
}

}  // namespace
