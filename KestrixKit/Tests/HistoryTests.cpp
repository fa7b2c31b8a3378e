#include <gtest/gtest.h>

#include "KestrixKit/History/History.h"

using namespace kestrix;
using namespace std::chrono_literals;
using enum HistoryEvent::Outcome;
using Culprit = HistoryEvent::Culprit;

namespace {

const auto start = std::chrono::system_clock::time_point{} + 1'740'837'909s;

Holder holder(std::string name, HelperKind kind) { return Holder{.pid = 42, .name = std::move(name), .kind = kind}; }

HistoryEvent fromVerdict(DriveVerdict verdict, bool forced = false) {
    const Drive drive{.id = "disk4", .volumes = {{.name = "Backup", .mountPath = "/b"}, {.name = "Projects", .mountPath = "/p"}}};
    return HistoryEvent::fromReport({drive, std::move(verdict), start + 250ms, forced}, Uuid::version4({}));
}

HistoryEvent event(HistoryEvent::Outcome outcome, std::vector<Culprit> culprits, std::chrono::seconds age) {
    return HistoryEvent{.date = start - age, .driveName = "Stick", .outcome = outcome, .culprits = std::move(culprits)};
}

}  // namespace

TEST(HistoryEvent, FromReportMapsVerdictsToOutcomesAndCulprits) {
    const auto held = fromVerdict({DriveVerdict::InUse{{holder("Pages", HelperKind::app), holder("sh", HelperKind::shell)}, {}}});
    EXPECT_EQ(held, (HistoryEvent{Uuid::version4({}), start + 250ms, "Backup, Projects", inUse,
                                  {{"Pages", HelperKind::app}, {"sh", HelperKind::shell}}}));

    const auto named = fromVerdict({DriveVerdict::HeldByMacOS{holder("mds", HelperKind::spotlight), {}}});
    EXPECT_EQ(named.outcome, heldByMacOS);
    EXPECT_EQ(named.culprits, (std::vector<Culprit>{{"mds", HelperKind::spotlight}}));
    EXPECT_TRUE(fromVerdict({DriveVerdict::HeldByMacOS{}}).culprits.empty());
    const auto backup = fromVerdict({DriveVerdict::BackupRunning{}});
    EXPECT_EQ(backup.outcome, backupRunning);
    EXPECT_EQ(backup.culprits, (std::vector<Culprit>{{"Time Machine", HelperKind::timeMachine}}));
    EXPECT_EQ(fromVerdict({DriveVerdict::WaitingOnApps{{holder("Pages", HelperKind::app)}}}).outcome, waitingOnApps);
    EXPECT_EQ(fromVerdict({DriveVerdict::Failed{.status = -1}}), (HistoryEvent{held.id, held.date, held.driveName, failed, {}}));

    EXPECT_EQ(fromVerdict({DriveVerdict::Ejected{}}).outcome, ejected);
    EXPECT_EQ(fromVerdict({DriveVerdict::UnmountedOnly{}}).outcome, unmountedOnly);
    EXPECT_EQ(fromVerdict({DriveVerdict::Ejected{}}, true).outcome, forced);
    EXPECT_EQ(fromVerdict({DriveVerdict::UnmountedOnly{}}, true).outcome, forced);
    EXPECT_FALSE(fromVerdict({DriveVerdict::Ejected{}}, true).wasBlocked());
}

TEST(History, KeepsTheNewestFiveHundred) {
    History history;
    for (int index = 0; index < 501; ++index) history.add(event(ejected, {}, std::chrono::seconds{-index}));
    ASSERT_EQ(history.events.size(), History::limit);
    EXPECT_EQ(history.events.front().date, start + 500s);
    EXPECT_EQ(history.events.back().date, start + 1s);

    std::vector<HistoryEvent> many(History::limit + 3, event(failed, {}, 0s));
    many.front().driveName = "First";
    const History trimmed(many);
    EXPECT_EQ(trimmed.events.size(), History::limit);
    EXPECT_EQ(trimmed.events.front().driveName, "First");
    EXPECT_EQ(trimmed.blockedCount(), 500);
}

TEST(History, OffendersAreCountedPerBlockedEjectAndOrdered) {
    const Culprit pages{"Pages", HelperKind::app};
    const Culprit spotlight{"mds", HelperKind::spotlight};
    const History history(std::vector<HistoryEvent>{
        event(inUse, {spotlight}, 10s),
        event(ejected, {pages, spotlight}, 20s),  // not blocked: never counts
        event(heldByMacOS, {spotlight}, 30s),
        event(inUse, {pages, pages}, 40s),  // two processes of one app count once
        event(waitingOnApps, {{"Pages", HelperKind::commandLine}, pages}, 50s),
        event(backupRunning, {spotlight, {"Time Machine", HelperKind::timeMachine}}, 60s),
        event(failed, {pages}, 70s),
        event(forced, {pages}, 80s),
    });
    EXPECT_EQ(history.blockedCount(), 6);

    const auto offenders = history.offenders(5);
    // Both blocked three times; the service did so more recently. The kind is the newest one's.
    EXPECT_EQ(offenders, (std::vector<Offender>{{"mds", HelperKind::spotlight, 3, start - 10s},
                                                {"Pages", HelperKind::app, 3, start - 40s},
                                                {"Time Machine", HelperKind::timeMachine, 1, start - 60s}}));
    EXPECT_EQ(history.offenders(1).size(), 1u);
    EXPECT_TRUE(history.offenders(0).empty());
}

TEST(History, AProgramIsOneOffenderHoweverItsNameWasWritten) {
    // Typed in a terminal it was "mousepad"; opened from the menu, "Mousepad".
    const History history(std::vector<HistoryEvent>{
        event(waitingOnApps, {{"Mousepad", HelperKind::app}}, 10s),
        event(inUse, {{"mousepad", HelperKind::commandLine}, {"Mousepad", HelperKind::app}}, 20s),
        event(inUse, {{"mousepad", HelperKind::commandLine}}, 30s),
        event(inUse, {{"ÉDITEUR", HelperKind::app}}, 40s),
        event(inUse, {{"éditeur", HelperKind::app}}, 50s),
    });
    EXPECT_EQ(history.offenders(5), (std::vector<Offender>{{"Mousepad", HelperKind::app, 3, start - 10s},
                                                           {"ÉDITEUR", HelperKind::app, 2, start - 40s}}));
}
