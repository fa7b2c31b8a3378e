#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <map>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Flow/EjectFlow.h"

using namespace kestrix;

namespace {

constexpr std::uint32_t user = 501;

struct FakeProcess {
    ProcessBasics basics;
    std::optional<std::vector<VnodeRef>> openFiles = std::vector<VnodeRef>{};
    std::vector<VnodeRef> mappedFiles;
};

class FakeProcesses : public ProcessSource {
public:
    std::map<std::int32_t, FakeProcess> processes;
    mutable int listings = 0;

    void add(std::int32_t pid, const std::string& name, std::vector<VnodeRef> open, std::vector<VnodeRef> mapped = {}) {
        processes[pid] = FakeProcess{ProcessBasics{pid, name, "/usr/bin/" + name, user, 1}, std::move(open),
                                     std::move(mapped)};
    }
    std::vector<std::int32_t> allPIDs() const override {
        ++listings;
        std::vector<std::int32_t> pids;
        for (const auto& entry : processes) pids.push_back(entry.first);
        return pids;
    }
    std::optional<ProcessBasics> basics(std::int32_t pid) const override {
        const auto found = processes.find(pid);
        return found == processes.end() ? std::nullopt : std::optional(found->second.basics);
    }
    std::optional<std::vector<VnodeRef>> openFiles(std::int32_t pid) const override {
        return processes.at(pid).openFiles;
    }
    std::optional<VnodeRef> currentFolder(std::int32_t) const override { return std::nullopt; }
    std::optional<std::vector<VnodeRef>> mappedFiles(std::int32_t pid) const override {
        return processes.at(pid).mappedFiles;
    }
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
};

// Each process stays alive for a number of isAlive questions after it was asked to go.
class FakeQuitter : public HolderQuitting {
public:
    std::map<std::int32_t, int> livesAfterAsked;  // absent: gone once asked; -1: never exits
    std::set<std::int32_t> refuses;
    std::vector<std::string> calls;

    bool quitApp(const Holder& holder) override { return ask("quitApp", holder.pid); }
    void showApp(const Holder& holder) override { calls.push_back("showApp " + std::to_string(holder.pid)); }
    bool endProcess(pid_t pid) override { return ask("endProcess", pid); }
    bool isAlive(pid_t pid) override {
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

const VnodeRef onStick{"/media/Stick/notes.txt", 0, true};

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

TEST_F(EjectFlowTest, PlainEjectOfAHeldDriveReportsTheQuickScanAndNeverCallsTheEjector) {
    processes->add(100, "vim", {onStick});
    processes->add(101, "bash", {{"/media/Stick2/other.txt", 0, false}});
    processes->processes[102].openFiles = std::nullopt;  // closed to the scan

    const DriveReport report = flow().eject(stick(), false);
    ASSERT_TRUE(report.verdict.is<DriveVerdict::InUse>()) << report.verdict.caseName();
    const auto& inUse = *report.verdict.as<DriveVerdict::InUse>();
    ASSERT_EQ(inUse.holders.size(), 1u);
    EXPECT_EQ(inUse.holders[0].name, "vim");
    EXPECT_EQ(inUse.summary, (ScanSummary{.checked = 2, .hidden = 1, .deep = false}));
    EXPECT_TRUE(ejector->calls.empty());
    EXPECT_FALSE(report.forced);
    EXPECT_EQ(report.date, fixedNow);
    EXPECT_EQ(report.drive, stick());
}

TEST_F(EjectFlowTest, OnlyARunningBackupToTheDriveKeepsItFromEjecting) {
    backup = backupTo("/media/Stick/");
    const DriveReport held = flow().eject(stick(), false);
    ASSERT_TRUE(held.verdict.is<DriveVerdict::BackupRunning>());
    EXPECT_EQ(held.verdict.as<DriveVerdict::BackupRunning>()->status, *backup);
    EXPECT_TRUE(ejector->calls.empty());

    for (const auto& other : {backupTo("/media/Stick2"), backupTo("/media/Stick", false)}) {
        backup = other;
        EXPECT_TRUE(flow().eject(stick(), false).verdict.is<DriveVerdict::Ejected>());
        EXPECT_FALSE(flow().backupOn(stick()));
    }
    EjectFlow withoutReader = flow();
    withoutReader.timeMachine = nullptr;
    backup = backupTo("/media/Stick");
    EXPECT_FALSE(withoutReader.backupOn(stick()));
    EXPECT_EQ(ejector->calls.size(), 2u);
}

TEST_F(EjectFlowTest, BusyRefusalLooksDeeperThenAtBackupsThenBlamesTheSystem) {
    processes->add(100, "preview", {}, {onStick});
    ejector->outcomes = {busy(7)};
    const DriveReport mapped = flow().eject(stick(), false);
    ASSERT_TRUE(mapped.verdict.is<DriveVerdict::InUse>()) << mapped.verdict.caseName();
    EXPECT_TRUE(mapped.verdict.as<DriveVerdict::InUse>()->summary.deep);
    EXPECT_EQ(mapped.verdict.holders()[0].holds[0].kind, HoldKind::mappedFile);
    EXPECT_TRUE(sleeps.empty());

    processes->processes.clear();
    backup = backupTo("/media/Stick");
    ejector->outcomes = {busy(7)};
    EXPECT_TRUE(flow().attempt(stick(), false).is<DriveVerdict::BackupRunning>());
}

TEST_F(EjectFlowTest, SystemRefusalRetriesOnceAfterTheDelayAndNamesOnlyAReadableForeignProcess) {
    processes->add(300, "mds", {});
    ejector->outcomes = {busy(300), EjectOutcome{EjectOutcome::Ejected{}}};
    EXPECT_TRUE(flow().eject(stick(), false).verdict.is<DriveVerdict::Ejected>());
    EXPECT_EQ(sleeps, std::vector<double>{1.5});
    EXPECT_EQ(ejector->calls.size(), 2u);

    sleeps.clear();
    ejector->calls.clear();
    ejector->outcomes = {busy(300), busy(300), busy(300)};
    const DriveReport twice = flow().eject(stick(), false);
    ASSERT_TRUE(twice.verdict.is<DriveVerdict::HeldByMacOS>()) << twice.verdict.caseName();
    const auto& held = *twice.verdict.as<DriveVerdict::HeldByMacOS>();
    ASSERT_TRUE(held.holder);
    EXPECT_EQ(held.holder->name, "mds");
    EXPECT_TRUE(held.holder->namedByMacOS);
    EXPECT_TRUE(held.holder->holds.empty());
    EXPECT_TRUE(held.summary.deep);
    EXPECT_EQ(sleeps, std::vector<double>{1.5});
    EXPECT_EQ(ejector->calls.size(), 2u);

    processes->add(4242, "kestrixctl", {});
    for (const std::optional<std::int32_t> pid : {std::optional<std::int32_t>{}, std::optional(-3), std::optional(999),
                                                   std::optional(4242)}) {
        ejector->outcomes = {busy(pid)};
        const DriveVerdict verdict = flow().attempt(stick(), false);
        ASSERT_TRUE(verdict.is<DriveVerdict::HeldByMacOS>());
        EXPECT_FALSE(verdict.as<DriveVerdict::HeldByMacOS>()->holder) << pid.value_or(0);
        EXPECT_TRUE(verdict.holders().empty());
    }
}

TEST_F(EjectFlowTest, ForcedEjectSkipsScansBackupsAndRetries) {
    processes->add(100, "vim", {onStick});
    backup = backupTo("/media/Stick");
    const DriveReport forced = flow().eject(stick(), true);
    EXPECT_TRUE(forced.verdict.is<DriveVerdict::Ejected>());
    EXPECT_TRUE(forced.forced);
    EXPECT_EQ(ejector->calls, std::vector<bool>{true});
    EXPECT_EQ(processes->listings, 0);

    processes->processes.clear();
    backup.reset();
    ejector->outcomes = {busy(std::nullopt)};
    EXPECT_TRUE(flow().eject(stick(), true).verdict.is<DriveVerdict::HeldByMacOS>());
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(ejector->calls.size(), 2u);
}

TEST_F(EjectFlowTest, FailuresKeepStatusAndMessageAndOtherOutcomesMapOneToOne) {
    ejector->outcomes = {EjectOutcome{EjectOutcome::Failed{"Stick", DAStatus::notPermitted, "Operation not permitted"}},
                         EjectOutcome{EjectOutcome::UnmountedOnly{}}};
    EXPECT_EQ(flow().eject(stick(), false).verdict,
              (DriveVerdict{DriveVerdict::Failed{DAStatus::notPermitted, "Operation not permitted"}}));
    EXPECT_TRUE(flow().eject(stick(), false).verdict.is<DriveVerdict::UnmountedOnly>());
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
    EXPECT_EQ(quitter->calls.back(), "showApp 10");
    EXPECT_EQ(std::count(quitter->calls.begin(), quitter->calls.end(), "showApp 10"), 1);
    EXPECT_EQ(std::count_if(quitter->calls.begin(), quitter->calls.end(),
                            [](const std::string& call) { return call.starts_with("showApp"); }), 1);
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

TEST_F(EjectFlowTest, EjectAllAndCheckGoDriveByDriveAndQuickThenDeep) {
    Drive second = stick();
    second.id = "sdc";
    second.volumes[0].mountPath = "/media/Other";
    processes->add(100, "vim", {{"/media/Other/a", 0, false}});
    const std::vector<DriveReport> reports = flow().ejectAll({stick(), second});
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].drive.id, "sdb");
    EXPECT_TRUE(reports[0].verdict.isDone());
    EXPECT_TRUE(reports[1].verdict.is<DriveVerdict::InUse>());
    EXPECT_TRUE(flow().ejectAll({}).empty());

    processes->add(200, "preview", {}, {onStick});
    const ScanResult checked = flow().check(stick());
    EXPECT_TRUE(checked.deep);
    ASSERT_EQ(checked.holders.size(), 1u);
    EXPECT_FALSE(flow().check(second).deep);
}
