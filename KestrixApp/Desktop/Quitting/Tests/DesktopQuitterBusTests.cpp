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

TEST_F(DesktopQuitterOnSessionBus, AGApplicationAskedFromAWorkerThreadQuitsThroughItsQuitAction) {
    const auto quitter = this->quitter();
    const Holder holder = appHolder(application->pid());
    // A Qt worker thread, as the app's eject tasks run on.
    bool asked = false;
    std::unique_ptr<QThread> worker(QThread::create([&] { asked = quitter->quitApp(holder); }));
    worker->start();
    worker->wait();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(application->hasExited());
}

TEST_F(DesktopQuitterOnSessionBus, WithoutWindowsToRaiseAGApplicationIsActivated) {
    // Running a GApplication activates it once.
    ASSERT_TRUE(waitUntil(5.0, [&] { return activations() == 1; }));
    quitter()->showApp(appHolder(application->pid()));
    EXPECT_TRUE(waitUntil(5.0, [&] { return activations() == 2; }));
}

TEST_F(DesktopQuitterOnSessionBus, AnotherProcessClaimingTheAppsIdDoesNotQuitIt) {
    const auto impostor = sleeper();
    EXPECT_FALSE(quitter()->quitApp(appHolder(impostor->pid())));
    EXPECT_FALSE(application->hasExited());
}

// As in a Wayland session whose apps neither run on an X server nor answer on the bus.
TEST(DesktopQuitterWithoutRoutes, AnAppIsNotAskedNorWaitedForButProgramsAreStillEnded) {
    const auto app = sleeper();
    const auto program = sleeper();
    const auto quitter = std::make_shared<DesktopQuitter>(std::nullopt, QDBusConnection(QString()), getpid());
    EXPECT_FALSE(quitter->quitApp(appHolder(app->pid())));

    auto ejector = std::make_shared<CountingEjector>();
    Holder tool = appHolder(program->pid());
    tool.app.reset();
    tool.kind = HelperKind::commandLine;
    const EjectFlow flow{.scanner = HolderScanner{.source = std::make_shared<ProcfsSource>()},
                         .ejector = ejector,
                         .quitter = quitter,
                         .currentUID = static_cast<std::uint32_t>(getuid()),
                         .sleep = [](double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); },
                         .now = [] { return std::chrono::system_clock::now(); }};
    const DriveReport report = flow.quitAndEject(Drive{.id = "stick"}, {appHolder(app->pid()), tool}, {program->pid()});

    EXPECT_TRUE(program->hasExited());
    EXPECT_FALSE(app->hasExited());
    EXPECT_TRUE(report.verdict.is<DriveVerdict::Ejected>()) << report.verdict.caseName();
    EXPECT_EQ(ejector->requests, 1);
}

}  // namespace
