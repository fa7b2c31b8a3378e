#include <gtest/gtest.h>

#include <xcb/xcb.h>
#include <xcb/xcb_icccm.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <future>
#include <thread>
#include <variant>

#include "KestrixApp/Desktop/Quitting/DesktopQuitter.h"
#include "KestrixApp/Desktop/Quitting/Tests/CountingEjector.h"
#include "KestrixApp/TestSupport/Waiting.h"
#include "KestrixApp/TestSupport/X11Desktop.h"
#include "KestrixKit/Flow/EjectFlow.h"
#include "KestrixKit/Linux/Processes/ProcfsSource.h"
#include "KestrixKit/Holders/HolderPolicy.h"
#include "KestrixKit/Linux/Ejecting/UnmountEjector.h"
#include "KestrixKit/Linux/Processes/ProcfsFiles.h"
#include "KestrixKit/Linux/Processes/ProcfsParsing.h"
#include "KestrixKit/Linux/Processes/Signals.h"
#include "KestrixKit/System/SystemContext.h"
#include "KestrixKit/System/SystemEjectFlow.h"
#include "KestrixKit/System/TracingQuitter.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Volumes/VolumeList.h"
#include "KestrixKit/Tests/Support/PidReuse.h"

using namespace kestrix;
using namespace kestrix::desktop;
using namespace kestrix::desktop::test;
using kestrix::test::ChildProcess;

namespace {

// The holder a scan makes of the process now at pid.
Holder windowAppHolder(pid_t pid) {
    return Holder{.pid = pid,
                  .name = "Test Window",
                  .uid = static_cast<std::uint32_t>(getuid()),
                  .app = AppIdentity{.name = "Test Window", .isRegular = true},
                  .kind = HelperKind::app,
                  .startTime = Signals::startTime(pid)};
}

class DesktopQuitterOnX11 : public testing::Test {
protected:
    static void SetUpTestSuite() { desktop = new X11Desktop(); }
    static void TearDownTestSuite() {
        delete desktop;
        desktop = nullptr;
    }
    void SetUp() override {
        if (!desktop->problem().empty()) GTEST_SKIP() << desktop->problem();
    }

    std::unique_ptr<ChildProcess> startWindowClient(bool refuses) const {
        std::vector<std::string> command{"/usr/bin/env", "DISPLAY=" + desktop->display(),
                                         DESKTOP_TEST_CLIENTS "/WindowClient"};
        if (refuses) command.emplace_back("--refuse");
        return std::make_unique<ChildProcess>(command);
    }
    std::shared_ptr<DesktopQuitter> quitter() const {
        return std::make_shared<DesktopQuitter>(desktop->display(), QDBusConnection(QString()), getpid());
    }

    static X11Desktop* desktop;
};

X11Desktop* DesktopQuitterOnX11::desktop = nullptr;

TEST_F(DesktopQuitterOnX11, AnAppAskedToQuitFromAWorkerThreadClosesItsWindowAndExits) {
    const auto client = startWindowClient(false);
    ASSERT_TRUE(desktop->waitForWindowOf(client->pid())) << "the client's window never appeared";

    const auto quitter = this->quitter();
    const Holder holder = windowAppHolder(client->pid());
    EXPECT_TRUE(std::async(std::launch::async, [&] { return quitter->quitApp(holder); }).get());
    EXPECT_TRUE(client->hasExited());
    EXPECT_FALSE(quitter->isAlive(holder.identity()));
}

TEST_F(DesktopQuitterOnX11, AWindowOfAProcessThatTookAGoneHoldersPidIsNeverClosedOrRaised) {
    if (const auto problem = kestrix::test::pidReuseProblem()) GTEST_SKIP() << *problem;
    auto gone = startWindowClient(false);
    ASSERT_TRUE(desktop->waitForWindowOf(gone->pid()));
    const Holder seen = windowAppHolder(gone->pid());
    gone->end();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    const auto now = kestrix::test::startWithPid(seen.pid, [&] { return startWindowClient(false); });
    ASSERT_NE(now, nullptr) << "pid " << seen.pid << " could not be handed out again";
    const std::optional<std::uint32_t> window = desktop->waitForWindowOf(now->pid());
    ASSERT_TRUE(window);
    const auto quitter = this->quitter();
    EXPECT_FALSE(quitter->isAlive(seen.identity()));
    EXPECT_FALSE(quitter->quitApp(seen));
    quitter->showApp(seen);
    EXPECT_FALSE(now->hasExited()) << "the window of the process now at the pid was closed";
    EXPECT_TRUE(quitter->isAlive(windowAppHolder(now->pid()).identity()));
}

TEST_F(DesktopQuitterOnX11, AnAppThatStaysOpenLeavesTheFlowWaitingAndIsBroughtToTheFront) {
    const auto refusing = startWindowClient(true);
    const std::optional<std::uint32_t> refusingWindow = desktop->waitForWindowOf(refusing->pid());
    ASSERT_TRUE(refusingWindow);
    const auto other = startWindowClient(true);
    const std::optional<std::uint32_t> otherWindow = desktop->waitForWindowOf(other->pid());
    ASSERT_TRUE(otherWindow);
    ASSERT_TRUE(waitUntil(5.0, [&] { return desktop->activeWindow() == otherWindow; }))
        << "the window manager did not activate the newer window";

    auto ejector = std::make_shared<CountingEjector>();
    std::vector<double> sleeps;
    const EjectFlow flow{.scanner = HolderScanner{.source = std::make_shared<ProcfsSource>()},
                         .ejector = ejector,
                         .quitter = quitter(),
                         .currentUID = static_cast<std::uint32_t>(getuid()),
                         .sleep = [&](double seconds) { sleeps.push_back(seconds); },
                         .now = [] { return std::chrono::system_clock::now(); },
                         .quitWait = 1.0};
    const DriveReport report = flow.quitAndEject(Drive{.id = "stick"}, {windowAppHolder(refusing->pid())}, {});

    const auto* waiting = report.verdict.as<DriveVerdict::WaitingOnApps>();
    ASSERT_NE(waiting, nullptr) << report.verdict.caseName();
    ASSERT_EQ(waiting->holders.size(), 1U);
    EXPECT_EQ(waiting->holders.front().pid, refusing->pid());
    EXPECT_EQ(sleeps, std::vector<double>(4, 0.25));
    EXPECT_EQ(ejector->requests, 0);
    EXPECT_TRUE(waitUntil(5.0, [&] { return desktop->activeWindow() == refusingWindow; }))
        << "the app left open was not brought to the front; the active window is "
        << desktop->activeWindow().value_or(0) << ", the app's " << *refusingWindow;
}

// A window of this very process, as the app's own window would be.
class OwnWindow {
public:
    explicit OwnWindow(const std::string& display) {
        connection_ = xcb_connect(display.c_str(), nullptr);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        window_ = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 100, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        protocols_ = atom("WM_PROTOCOLS");
        xcb_atom_t deleteWindow = atom("WM_DELETE_WINDOW");
        xcb_icccm_set_wm_protocols(connection_, window_, protocols_, 1, &deleteWindow);
        const std::uint32_t pid = static_cast<std::uint32_t>(getpid());
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1,
                            &pid);
        xcb_map_window(connection_, window_);
        xcb_flush(connection_);
    }
    ~OwnWindow() { xcb_disconnect(connection_); }

    bool receivedCloseRequest() {
        bool received = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            received = received || ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
                                    reinterpret_cast<xcb_client_message_event_t*>(event)->type == protocols_);
            std::free(event);
        }
        return received;
    }

private:
    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr);
        const xcb_atom_t found = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return found;
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t window_ = XCB_NONE;
    xcb_atom_t protocols_ = XCB_ATOM_NONE;
};

// The first program the process started, waited for.
std::optional<pid_t> childOf(pid_t parent) {
    const std::string children = "/proc/" + std::to_string(parent) + "/task/" + std::to_string(parent) + "/children";
    for (int attempt = 0; attempt < 250; ++attempt) {
        const auto text = kestrix::procfs::readText(AT_FDCWD, children.c_str());
        const auto pids = text ? kestrix::procfs::parsePIDList(*text) : std::vector<std::int32_t>{};
        if (!pids.empty()) return pids.front();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

TEST_F(DesktopQuitterOnX11, AWindowedProgramTypedInAShellIsAnAppAskedToQuitAndNeverSignalled) {
    kestrix::test::LoopDrive loop({.folderPrefix = "kestrix-typed", .labelPrefix = "KestrixTyped"});
    if (const auto& reason = loop.skipReason()) GTEST_SKIP() << *reason;
    // Typed in a shell (which stays outside the drive): no launch variables, no unit of its own,
    // no desktop entry for it.
    const kestrix::test::ChildProcess shell(
        {"/bin/sh", "-c",
         "(cd '" + loop.mountPath() + "' && exec env -u GIO_LAUNCHED_DESKTOP_FILE -u GIO_LAUNCHED_DESKTOP_FILE_PID "
         "QT_QPA_PLATFORM=xcb DISPLAY=" + desktop->display() +
             // A bus of no one, so that no session bus is started beside it in the drive.
             " DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent " DESKTOP_TEST_CLIENTS "/QtWindowClient); true"});
    const std::optional<pid_t> client = childOf(shell.pid());
    ASSERT_TRUE(client);
    ASSERT_TRUE(desktop->waitForWindowOf(*client)) << "the Qt window never appeared";

    // The command line's system, on this display: the same rule as the app's.
    ASSERT_EQ(setenv("DISPLAY", desktop->display().c_str(), 1), 0);
    auto made = makeSystemContext(SystemChoice{});
    ASSERT_TRUE(std::holds_alternative<SystemContext>(made));
    const SystemContext& system = std::get<SystemContext>(made);
    std::optional<Drive> drive;
    for (const Drive& listed : VolumeList::drives(*system.volumes, {.diskImages = true})) {
        const auto paths = listed.mountPaths();
        if (std::find(paths.begin(), paths.end(), loop.mountPath()) != paths.end()) drive = listed;
    }
    ASSERT_TRUE(drive);
    const std::vector<Holder> holders = ejectFlow(system).check(*drive).holders;
    ASSERT_EQ(holders.size(), 1U) << holders.back().name;
    const Holder& app = holders.front();
    EXPECT_EQ(app.pid, *client);
    EXPECT_EQ(app.name, "QtWindowClient");
    EXPECT_EQ(app.kind, HelperKind::app) << "not a command-line program";
    EXPECT_EQ(HolderPolicy::actions(app, getuid()), (std::vector<HolderAction>{HolderAction::quitApp, HolderAction::showApp}));
    EXPECT_FALSE(HolderPolicy::endsByDefault(app)) << "never ticked";
    EXPECT_FALSE(HolderPolicy::mayEndWhenAsked(app, getuid())) << "never ended by signal, even when named";

    // Quit and Eject, even with its pid among those to end, asks it as its close button does.
    std::vector<std::string> calls;
    EjectFlow flow = ejectFlow(system);
    flow.ejector = std::make_shared<UnmountEjector>();
    flow.quitter = std::make_shared<TracingQuitter>(quitter(), [&](const std::string& line) { calls.push_back(line); });
    const DriveReport report = flow.quitAndEject(*drive, holders, {*client});
    EXPECT_TRUE(report.verdict.is<DriveVerdict::Ejected>()) << report.verdict.caseName();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "quitApp " + std::to_string(*client) + " -> true");
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string& call) { return call.starts_with("endProcess"); }), 0);
}

TEST_F(DesktopQuitterOnX11, NeverAsksItselfToQuit) {
    OwnWindow own(desktop->display());
    ASSERT_TRUE(desktop->waitForWindowOf(getpid()));

    EXPECT_FALSE(quitter()->quitApp(windowAppHolder(getpid())));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(own.receivedCloseRequest());
}

}  // namespace
