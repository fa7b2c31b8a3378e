#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Flow/EjectFlow.h"
#include "KestrixKit/Flow/ReportText.h"

using namespace kestrix;

namespace {

constexpr std::uint32_t user = 501;

// Processes of the user, each with the files it has open.
class FakeProcesses : public ProcessSource {
public:
    std::map<std::int32_t, std::pair<ProcessBasics, std::vector<VnodeRef>>> processes;
    mutable int listings = 0;

    void add(std::int32_t pid, const std::string& name, std::vector<VnodeRef> open) {
        processes[pid] = {ProcessBasics{pid, name, "/usr/bin/" + name, user, 1}, std::move(open)};
    }
    std::vector<std::int32_t> allPIDs() const override {
        ++listings;
        std::vector<std::int32_t> pids;
        for (const auto& entry : processes) pids.push_back(entry.first);
        return pids;
    }
    std::optional<ProcessBasics> basics(std::int32_t pid) const override {
        const auto found = processes.find(pid);
        return found == processes.end() ? std::nullopt : std::optional(found->second.first);
    }
    std::optional<std::vector<VnodeRef>> openFiles(std::int32_t pid) const override {
        return processes.at(pid).second;
    }
    std::optional<VnodeRef> currentFolder(std::int32_t) const override { return std::nullopt; }
    std::optional<std::vector<VnodeRef>> mappedFiles(std::int32_t) const override { return std::vector<VnodeRef>{}; }
};

class ScriptedEjector : public DiskEjecting {
public:
    std::deque<EjectOutcome> outcomes;
    std::vector<bool> calls;  // the force flag of each request

    EjectOutcome eject(const Drive&, bool force) override {
        calls.push_back(force);
        if (outcomes.empty()) return EjectOutcome{EjectOutcome::Ejected{}};
        EjectOutcome next = outcomes.front();
        outcomes.pop_front();
        return next;
    }
    ReleaseOutcome release(const KernelHolder&) override { return {.released = true, .message = {}}; }
};

// Each process stays alive for a number of isAlive questions after it was asked to go.
class FakeQuitter : public HolderQuitting {
public:
    std::map<std::int32_t, int> livesAfterAsked;  // absent: gone once asked; -1: never exits
    std::set<std::int32_t> refuses;
    std::vector<std::string> calls;

    bool quitApp(const Holder& holder) override { return ask("quitApp", holder.pid); }
    void showApp(const Holder& holder) override { calls.push_back("showApp " + std::to_string(holder.pid)); }
    bool endProcess(const ProcessIdentity& process, EndSignal signal) override {
        return ask(signal == EndSignal::hangUp ? "hangUp" : "endProcess", process.pid);
    }
    bool isAlive(const ProcessIdentity& process) override {
        const std::int32_t pid = process.pid;
        calls.push_back("isAlive " + std::to_string(pid));
        auto found = livesAfterAsked.find(pid);
        if (found == livesAfterAsked.end()) return !asked.contains(pid);
        if (found->second == 0) return false;
        if (found->second > 0) --found->second;
        return true;
    }

private:
    std::set<std::int32_t> asked;
    bool ask(const std::string& what, std::int32_t pid) {
        calls.push_back(what + " " + std::to_string(pid));
        if (refuses.contains(pid)) return false;
        asked.insert(pid);
        return true;
    }
};

Drive stick() {
    return Drive{"sdb", {DriveVolume{.name = "Stick", .mountPath = "/media/Stick", .bsdName = "sdb1"}}};
}

EjectOutcome busy(std::optional<std::int32_t> pid) {
    return EjectOutcome{EjectOutcome::Busy{"Stick", pid, DAStatus::busy}};
}

TimeMachineStatus backupTo(std::string mountPoint, bool running = true) {
    return TimeMachineStatus{.running = running, .phase = "Copying", .progress = 0.5,
                             .destinationMountPoints = {std::move(mountPoint)}};
}

Holder app(std::int32_t pid, std::string name) {
    return Holder{.pid = pid, .name = std::move(name), .executablePath = "/opt/" + std::to_string(pid),
                  .uid = user, .app = AppIdentity{.name = "App", .isRegular = true}, .kind = HelperKind::app};
}

Holder tool(std::int32_t pid, std::string name) {
    return Holder{.pid = pid, .name = std::move(name), .executablePath = "/usr/bin/" + std::to_string(pid),
                  .uid = user, .kind = HelperKind::commandLine};
}

struct EjectFlowTest : ::testing::Test {
    std::shared_ptr<FakeProcesses> processes = std::make_shared<FakeProcesses>();
    std::shared_ptr<ScriptedEjector> ejector = std::make_shared<ScriptedEjector>();
    std::shared_ptr<FakeQuitter> quitter = std::make_shared<FakeQuitter>();
    std::vector<double> sleeps;
    std::optional<TimeMachineStatus> backup;
    const std::chrono::system_clock::time_point fixedNow{std::chrono::seconds(1'740'837'909)};

    EjectFlow flow() {
        return EjectFlow{.scanner = HolderScanner{.source = processes, .ownPID = 4242},
                         .ejector = ejector,
                         .quitter = quitter,
                         .currentUID = user,
                         .sleep = [this](double seconds) { sleeps.push_back(seconds); },
                         .timeMachine = [this] { return backup; },
                         .now = [this] { return fixedNow; }};
    }
};

}  // namespace

TEST_F(EjectFlowTest, OnlyARunningBackupToTheDriveCounts) {
    for (const auto& other : {backupTo("/media/Stick2"), backupTo("/media/Stick", false)}) {
        backup = other;
        EXPECT_TRUE(flow().eject(stick(), false).verdict.is<DriveVerdict::Ejected>());
    }
    EjectFlow withoutReader = flow();
    withoutReader.timeMachine = nullptr;
    backup = backupTo("/media/Stick/");
    EXPECT_FALSE(withoutReader.backupOn(stick()));
    EXPECT_EQ(flow().backupOn(stick()), backup);

    // A backup that starts between the scan and the refusal is found after the refusal.
    ejector->outcomes = {busy(7)};
    EXPECT_TRUE(flow().attempt(stick(), false).is<DriveVerdict::BackupRunning>());
}

TEST_F(EjectFlowTest, TheSystemIsNamedOnlyAsAReadableForeignProcess) {
    processes->add(300, "mds", {});
    processes->add(4242, "kestrixctl", {});
    ejector->outcomes = {busy(300)};
    const DriveVerdict named = flow().attempt(stick(), false);
    ASSERT_TRUE(named.is<DriveVerdict::HeldByMacOS>());
    EXPECT_EQ(named.holders().at(0).name, "mds");
    EXPECT_TRUE(named.as<DriveVerdict::HeldByMacOS>()->summary.deep);

    for (const std::optional<std::int32_t> pid : {std::optional<std::int32_t>{}, std::optional(-3), std::optional(999),
                                                   std::optional(4242)}) {
        ejector->outcomes = {busy(pid)};
        const DriveVerdict verdict = flow().attempt(stick(), false);
        ASSERT_TRUE(verdict.is<DriveVerdict::HeldByMacOS>());
        EXPECT_TRUE(verdict.holders().empty()) << pid.value_or(0);
    }
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(EjectFlowTest, ForcedEjectSkipsScansBackupsAndRetries) {
    processes->add(100, "vim", {{"/media/Stick/notes.txt", 0, true}});
    backup = backupTo("/media/Stick");
    const DriveReport forced = flow().eject(stick(), true);
    EXPECT_TRUE(forced.verdict.is<DriveVerdict::Ejected>());
    EXPECT_TRUE(forced.forced);
    EXPECT_EQ(forced.date, fixedNow);
    EXPECT_EQ(processes->listings, 0);

    processes->processes.clear();
    backup.reset();
    ejector->outcomes = {busy(std::nullopt)};
    EXPECT_TRUE(flow().eject(stick(), true).verdict.is<DriveVerdict::HeldByMacOS>());
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(ejector->calls, (std::vector<bool>{true, true}));
}

TEST_F(EjectFlowTest, QuitAndEjectEjectsAfreshOnceEveryAskedHolderHasGone) {
    EXPECT_TRUE(flow().quitAndEject(stick(), {}, {}).verdict.is<DriveVerdict::Ejected>());
    EXPECT_TRUE(sleeps.empty());

    quitter->livesAfterAsked = {{10, 2}};
    const DriveReport report = flow().quitAndEject(stick(), {app(10, "Pages"), tool(20, "rsync")}, {20});
    EXPECT_TRUE(report.verdict.is<DriveVerdict::Ejected>()) << report.verdict.caseName();
    EXPECT_FALSE(report.forced);
    EXPECT_EQ(sleeps, (std::vector<double>{0.25, 0.25}));
    EXPECT_EQ(quitter->calls, (std::vector<std::string>{"quitApp 10", "endProcess 20", "isAlive 10", "isAlive 10",
                                                        "isAlive 10", "isAlive 20", "isAlive 10", "isAlive 20"}));
}

TEST_F(EjectFlowTest, QuitAndEjectLeavesAloneWhatItMayNotTouchAndReportsWhoStays) {
    Holder otherUsers = app(30, "Numbers");
    otherUsers.uid = 0;
    Holder agent = app(40, "Agent");
    agent.app->isRegular = false;
    quitter->livesAfterAsked = {{10, -1}, {20, -1}};
    quitter->refuses = {50};
    const DriveReport report = flow().quitAndEject(
        stick(), {app(10, "Pages"), tool(20, "rsync"), otherUsers, tool(60, "tar"), app(50, "Keynote"), agent},
        {20, 30});

    ASSERT_TRUE(report.verdict.is<DriveVerdict::WaitingOnApps>()) << report.verdict.caseName();
    EXPECT_EQ(report.verdict.holders(), (std::vector<Holder>{app(10, "Pages"), tool(20, "rsync")}));
    EXPECT_EQ(sleeps.size(), 40u);
    EXPECT_TRUE(ejector->calls.empty());
    const std::vector<std::string> asked(quitter->calls.begin(), quitter->calls.begin() + 3);
    EXPECT_EQ(asked, (std::vector<std::string>{"quitApp 10", "endProcess 20", "quitApp 50"}));
    // Only the regular app that stays is brought forward, once, at the end.
    EXPECT_EQ(quitter->calls.back(), "showApp 10");
    EXPECT_EQ(std::count_if(quitter->calls.begin(), quitter->calls.end(),
                            [](const std::string& call) { return call.starts_with("showApp"); }), 1);
}

// Where the desktop gives no way to ask an app (Wayland, no bus route), nothing is sent to it: it
// is waited for as if asked, and one that can be asked but not raised is never shown.
TEST_F(EjectFlowTest, AnAppThatCannotBeAskedIsWaitedForAndOneThatCannotBeRaisedIsNotShown) {
    Holder unaskable = app(10, "FeatherPad");
    unaskable.app->reach = AppReach{.canAskToQuit = false, .canShow = false};
    Holder hidden = app(11, "Mousepad");
    hidden.app->reach = AppReach{.canAskToQuit = true, .canShow = false};
    quitter->livesAfterAsked = {{10, 1}, {11, -1}};
    const DriveReport report = flow().quitAndEject(stick(), {unaskable, hidden}, {});

    ASSERT_TRUE(report.verdict.is<DriveVerdict::WaitingOnApps>()) << report.verdict.caseName();
    EXPECT_EQ(report.verdict.holders(), std::vector<Holder>{hidden});
    EXPECT_EQ(quitter->calls.front(), "quitApp 11");
    EXPECT_EQ(std::count(quitter->calls.begin(), quitter->calls.end(), "quitApp 10"), 0);
    EXPECT_GE(std::count(quitter->calls.begin(), quitter->calls.end(), "isAlive 10"), 2);
    EXPECT_EQ(std::count_if(quitter->calls.begin(), quitter->calls.end(),
                            [](const std::string& call) { return call.starts_with("showApp"); }), 0);
}

TEST_F(EjectFlowTest, AShellIsHungUpAndAProgramThatStaysIsStillRunningNotSaving) {
    Holder shell = tool(70, "bash");
    shell.kind = HelperKind::shell;
    quitter->livesAfterAsked = {{20, -1}};
    const DriveReport report = flow().quitAndEject(stick(), {shell, tool(20, "rsync")}, {70, 20});
    EXPECT_EQ(std::vector<std::string>(quitter->calls.begin(), quitter->calls.begin() + 2),
              (std::vector<std::string>{"hangUp 70", "endProcess 20"}));
    ASSERT_TRUE(report.verdict.is<DriveVerdict::WaitingOnApps>()) << report.verdict.caseName();
    EXPECT_EQ(ReportText::message(report), "rsync is still running. In its Terminal window, press Control-C.");
    EXPECT_EQ(std::count_if(quitter->calls.begin(), quitter->calls.end(),
                            [](const std::string& call) { return call.starts_with("showApp"); }), 0);
}

TEST_F(EjectFlowTest, QuitWaitBoundsTheWaitAndZeroOrNaNSkipsIt) {
    quitter->livesAfterAsked = {{10, -1}};
    for (const double wait : {0.0, -1.0, std::nan("")}) {
        EjectFlow impatient = flow();
        impatient.quitWait = wait;
        EXPECT_TRUE(impatient.quitAndEject(stick(), {app(10, "Pages")}, {}).verdict.is<DriveVerdict::WaitingOnApps>());
    }
    EXPECT_TRUE(sleeps.empty());

    EjectFlow brief = flow();
    brief.quitWait = 0.6;
    brief.quitAndEject(stick(), {app(10, "Pages")}, {});
    EXPECT_EQ(sleeps.size(), 3u);
}

TEST_F(EjectFlowTest, RootEndsAnotherUsersProgramOnlyWhenNamed) {
    EjectFlow asRoot = flow();
    asRoot.currentUID = 0;
    Holder udevd = tool(40, "systemd-udevd");
    udevd.uid = 0;
    // The user's rsync is ended because root names it, tar is not named, and the disk service
    // is never ended, named or not.
    const DriveReport report = asRoot.quitAndEject(stick(), {tool(20, "rsync"), tool(30, "tar"), udevd}, {20, 40});
    EXPECT_TRUE(report.verdict.is<DriveVerdict::Ejected>()) << report.verdict.caseName();
    EXPECT_EQ(quitter->calls.front(), "endProcess 20");
    EXPECT_EQ(std::count_if(quitter->calls.begin(), quitter->calls.end(),
                            [](const std::string& call) { return call.starts_with("endProcess"); }), 1);
}

TEST_F(EjectFlowTest, ADriveReplacedUnderItsNameIsGoneAndNeverTouched) {
    const Drive other{"sdc", {DriveVolume{.name = "Other", .mountPath = "/media/Other", .bsdName = "sdc1"}}};
    EjectFlow flow = this->flow();
    flow.isSameDrive = [](const Drive& drive) { return drive.id != "sdb"; };
    const std::vector<DriveReport> reports = flow.ejectAll({stick(), other});
    ASSERT_TRUE(reports[0].verdict.is<DriveVerdict::Failed>()) << reports[0].verdict.caseName();
    EXPECT_EQ(reports[0].verdict.as<DriveVerdict::Failed>()->status, DAStatus::notFound);
    EXPECT_TRUE(reports[1].verdict.is<DriveVerdict::Ejected>());
    // Forced or not, only the unchanged drive reaches the ejector.
    EXPECT_TRUE(flow.eject(stick(), true).verdict.is<DriveVerdict::Failed>());
    EXPECT_EQ(ejector->calls, (std::vector<bool>{false}));
}

TEST_F(EjectFlowTest, ADetachedDriveNamesWhatKeepsItAliveUntilItIsReleased) {
    // Unmounted, the drive's file system still has less's file open, and nothing is mounted
    // where it was: only its device number finds less.
    const Drive holiday{"loop5", {DriveVolume{.name = "Holiday", .mountPath = "/media/Holiday", .bsdName = "loop5",
                                              .wholeDisk = "loop5", .device = 0x700005}}};
    processes->add(100, "less", {{"/media/Holiday/notes.txt", 0x700005, false}});
    processes->add(200, "bash", {{"/home/me/notes.txt", 0x800001, false}});
    ejector->outcomes = {EjectOutcome{EjectOutcome::Detached{}}, EjectOutcome{EjectOutcome::Detached{}}};
    const DriveReport forced = flow().eject(holiday, true);
    ASSERT_TRUE(forced.verdict.is<DriveVerdict::Detached>()) << forced.verdict.caseName();
    EXPECT_FALSE(forced.verdict.isDone());
    EXPECT_EQ(ReportText::message(forced), "Holiday is detached. It becomes safe to unplug when less closes its file.");

    processes->processes.erase(100);
    const DriveReport kernelOnly = flow().awaitRelease(holiday, forced.forced);
    EXPECT_EQ(ReportText::message(kernelOnly),
              "Holiday is detached. It becomes safe to unplug when the system lets go of it.");
    const DriveReport released = flow().awaitRelease(holiday, forced.forced);
    EXPECT_TRUE(released.verdict.is<DriveVerdict::Ejected>());
    EXPECT_TRUE(released.forced);
    // The watch asks the ejector again without forcing: there is nothing left to force.
    EXPECT_EQ(ejector->calls, (std::vector<bool>{true, false, false}));

    // A loop device that detached itself with its last user is released, not "gone".
    EjectFlow watching = flow();
    watching.isSameDrive = [](const Drive&) { return false; };
    EXPECT_TRUE(watching.awaitRelease(holiday, true).verdict.is<DriveVerdict::Ejected>());
    EXPECT_EQ(ejector->calls.size(), 3u);
}

// The kernel's holders, as a world or this machine would report them.
class FixedKernelHolders : public KernelHolderSource {
public:
    std::vector<KernelHolder> found;
    KernelScan holders(const Drive&, const std::optional<MountNamespaces>&) const override { return {found, 0}; }
};

TEST_F(EjectFlowTest, TheKernelsHoldersAreNamedInsteadOfASystemServiceAndNotRetried) {
    auto kernel = std::make_shared<FixedKernelHolders>();
    kernel->found = {KernelHolder{.kind = KernelHoldKind::diskImage, .name = "/media/Stick/disk.img", .device = "/dev/loop7"}};
    EjectFlow withKernel = flow();
    withKernel.scanner.kernel = kernel;
    EXPECT_EQ(withKernel.check(stick()).kernelHolders, kernel->found);

    ejector->outcomes = {busy(std::nullopt)};
    const DriveReport refused = withKernel.eject(stick(), false);
    ASSERT_TRUE(refused.verdict.is<DriveVerdict::InUse>()) << refused.verdict.caseName();
    EXPECT_EQ(refused.verdict.kernelHolders(), kernel->found);
    EXPECT_EQ(ReportText::message(refused), "Stick is in use by the disk image disk.img.");
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(ejector->calls.size(), 1u);

    // Unmounted here but still mounted in a sandbox's namespace: the sandbox is named.
    kernel->found = {KernelHolder{.kind = KernelHoldKind::mountNamespace, .name = "sleep", .pid = 77}};
    ejector->outcomes = {EjectOutcome{EjectOutcome::Detached{}}};
    EXPECT_EQ(ReportText::message(withKernel.eject(stick(), false)),
              "Stick is detached. It becomes safe to unplug when sleep lets go of it.");
}

TEST_F(EjectFlowTest, ABackupsOwnProcessesOnTheDriveAreTheBackupNotHolders) {
    // borg (pid 70) writes its repository on the stick; Déjà Dup backs up to another drive.
    processes->add(70, "borg", {VnodeRef{.path = "/media/Stick/repo/data/1", .device = 0, .writing = true}});
    TimeMachineStatus borg{.running = true, .destinationMountPoints = {"/media/Stick/repo"},
                           .tool = BackupTool::borg, .processes = {70, 71}};
    const TimeMachineStatus dejaDup{.running = true, .destinationMountPoints = {"/media/Other"},
                                    .tool = BackupTool::dejaDup, .processes = {80}, .stoppable = false};
    int reads = 0;
    EjectFlow onLinux = flow();
    onLinux.timeMachine = nullptr;
    onLinux.backups = [&] {
        ++reads;
        return std::vector<TimeMachineStatus>{dejaDup, borg};
    };
    const DriveReport met = onLinux.eject(stick(), false);
    ASSERT_TRUE(met.verdict.is<DriveVerdict::BackupRunning>());
    EXPECT_EQ(met.verdict.as<DriveVerdict::BackupRunning>()->status, borg);
    EXPECT_TRUE(ejector->calls.empty());

    // Another holder besides the backup is the user's to deal with first.
    processes->add(90, "vim", {VnodeRef{.path = "/media/Stick/notes.txt", .device = 0}});
    EXPECT_TRUE(onLinux.eject(stick(), false).verdict.is<DriveVerdict::InUse>());

    // After a busy refusal the deep scan finds the backup the same way.
    processes->processes.erase(90);
    ejector->outcomes = {busy(std::nullopt)};
    EXPECT_TRUE(onLinux.attempt(stick(), false).is<DriveVerdict::BackupRunning>());

    // The backup services of the simulated worlds have no processes: holders stay holders, and
    // their status is not even read while something holds the drive.
    backup = backupTo("/media/Stick");
    const int readsBefore = reads;
    EXPECT_TRUE(flow().eject(stick(), false).verdict.is<DriveVerdict::InUse>());
    EXPECT_EQ(reads, readsBefore);
}

namespace {

// Notes when it was asked, then shows an amount left and the end, as a slow drive's flush does.
class ShowingFlusher : public FileSystemFlushing {
public:
    explicit ShowingFlusher(std::vector<std::string>& log) : log_(log) {}
    void flush(const Drive& drive, const std::function<void(const FlushProgress&)>& shown) override {
        log_.push_back("flush " + drive.id);
        shown({.bytesLeft = 5'000'000, .secondsLeft = 2.0});
        shown({.bytesLeft = 0, .secondsLeft = 0.0});
    }

private:
    std::vector<std::string>& log_;
};

}  // namespace

TEST_F(EjectFlowTest, EveryEjectRequestFollowsAFlushShownForItsDrive) {
    std::vector<std::string> log;
    EjectFlow flow = this->flow();
    flow.flusher = std::make_shared<ShowingFlusher>(log);
    flow.flushShown = [&](const Drive& drive, const FlushProgress& progress) {
        log.push_back(drive.id + " " + std::to_string(progress.bytesLeft) + " after " +
                      std::to_string(ejector->calls.size()) + " requests");
    };
    EXPECT_TRUE(flow.eject(stick(), false).verdict.is<DriveVerdict::Ejected>());
    EXPECT_EQ(log, (std::vector<std::string>{"flush sdb", "sdb 5000000 after 0 requests", "sdb 0 after 0 requests"}));

    // A drive held by a program is not flushed: nothing is ejected. Nor is a drive replaced
    // under its name; and nobody listening is no fault.
    log.clear();
    processes->add(100, "vim", {{"/media/Stick/notes.txt", 0, true}});
    EXPECT_TRUE(flow.eject(stick(), false).verdict.is<DriveVerdict::InUse>());
    processes->processes.clear();
    flow.isSameDrive = [](const Drive&) { return false; };
    EXPECT_TRUE(flow.eject(stick(), true).verdict.is<DriveVerdict::Failed>());
    EXPECT_TRUE(log.empty());
    flow.isSameDrive = nullptr;
    flow.flushShown = nullptr;
    EXPECT_TRUE(flow.eject(stick(), true).verdict.is<DriveVerdict::Ejected>());
    EXPECT_EQ(log, (std::vector<std::string>{"flush sdb"}));
}

TEST_F(EjectFlowTest, ExitEventsReplaceThePollsWithinTheSameLimit) {
    std::vector<std::pair<std::vector<ProcessIdentity>, double>> waits;
    EjectFlow flow = this->flow();
    flow.awaitExit = [&](const std::vector<ProcessIdentity>& processes, double limit) {
        waits.emplace_back(processes, limit);
    };
    Holder pages = app(10, "Pages");
    pages.startTime = 777;
    const DriveReport report = flow.quitAndEject(stick(), {pages, tool(20, "rsync")}, {20});
    EXPECT_TRUE(report.verdict.is<DriveVerdict::Ejected>()) << report.verdict.caseName();
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].first, (std::vector<ProcessIdentity>{{.pid = 10, .startTime = 777}, {.pid = 20}}));
    EXPECT_EQ(waits[0].second, 10.0);
    EXPECT_TRUE(sleeps.empty());

    // One that outlives the limit is still reported as staying; nothing asked, nothing awaited.
    quitter->livesAfterAsked = {{10, -1}};
    EXPECT_TRUE(flow.quitAndEject(stick(), {pages}, {}).verdict.is<DriveVerdict::WaitingOnApps>());
    quitter->refuses = {10};
    flow.quitAndEject(stick(), {pages}, {});
    EXPECT_EQ(waits.size(), 2u);
    EXPECT_TRUE(sleeps.empty());
}
