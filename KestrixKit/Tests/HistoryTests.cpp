#include <gtest/gtest.h>

#include "KestrixKit/History/History.h"

using namespace kestrix;
using namespace std::chrono_literals;
using Outcome = HistoryEvent::Outcome;
using Culprit = HistoryEvent::Culprit;

namespace {

const auto start = std::chrono::system_clock::time_point{} + 1'740'837'909s;

Holder holder(std::string name, HelperKind kind) { return Holder{.pid = 42, .name = std::move(name), .kind = kind}; }

DriveReport report(DriveVerdict verdict, bool forced = false) {
    const Drive drive{.id = "disk4",
                      .volumes = {DriveVolume{.name = "Backup", .mountPath = "/media/me/Backup"},
                                  DriveVolume{.name = "Projects", .mountPath = "/media/me/Projects"}}};
    return DriveReport{.drive = drive, .verdict = std::move(verdict), .date = start + 250ms, .forced = forced};
}

HistoryEvent event(Outcome outcome, std::vector<Culprit> culprits, std::chrono::seconds age) {
    return HistoryEvent{.date = start - age, .driveName = "Stick", .outcome = outcome, .culprits = std::move(culprits)};
}

}  // namespace

TEST(HistoryEvent, FromReportMapsVerdictsToOutcomesAndCulprits) {
    const Uuid id = Uuid::version4({});
    const auto inUse = HistoryEvent::fromReport(
        report({DriveVerdict::InUse{{holder("Pages", HelperKind::app), holder("sh", HelperKind::shell)}, {}}}), id);
    EXPECT_EQ(inUse.id, id);
    EXPECT_EQ(inUse.date, start + 250ms);
    EXPECT_EQ(inUse.driveName, "Backup, Projects");
    EXPECT_EQ(inUse.outcome, Outcome::inUse);
    EXPECT_EQ(inUse.culprits, (std::vector<Culprit>{{"Pages", HelperKind::app}, {"sh", HelperKind::shell}}));

    const auto named = HistoryEvent::fromReport(report({DriveVerdict::HeldByMacOS{holder("mds", HelperKind::spotlight), {}}}), id);
    EXPECT_EQ(named.outcome, Outcome::heldByMacOS);
    EXPECT_EQ(named.culprits, (std::vector<Culprit>{{"mds", HelperKind::spotlight}}));
    EXPECT_TRUE(HistoryEvent::fromReport(report({DriveVerdict::HeldByMacOS{}}), id).culprits.empty());

    const auto backup = HistoryEvent::fromReport(report({DriveVerdict::BackupRunning{}}), id);
    EXPECT_EQ(backup.outcome, Outcome::backupRunning);
    EXPECT_EQ(backup.culprits, (std::vector<Culprit>{{"Time Machine", HelperKind::timeMachine}}));

    const auto waiting = HistoryEvent::fromReport(report({DriveVerdict::WaitingOnApps{{holder("Pages", HelperKind::app)}}}), id);
    EXPECT_EQ(waiting.outcome, Outcome::waitingOnApps);
    EXPECT_EQ(waiting.culprits.size(), 1u);

    const auto failed = HistoryEvent::fromReport(report({DriveVerdict::Failed{.status = -1}}), id);
    EXPECT_EQ(failed.outcome, Outcome::failed);
    EXPECT_TRUE(failed.culprits.empty());

    EXPECT_EQ(HistoryEvent::fromReport(report({DriveVerdict::Ejected{}}), id).outcome, Outcome::ejected);
    EXPECT_EQ(HistoryEvent::fromReport(report({DriveVerdict::UnmountedOnly{}}), id).outcome, Outcome::unmountedOnly);
    const auto forced = HistoryEvent::fromReport(report({DriveVerdict::Ejected{}}, true), id);
    EXPECT_EQ(forced.outcome, Outcome::forced);
    EXPECT_FALSE(forced.wasBlocked());
    EXPECT_EQ(HistoryEvent::fromReport(report({DriveVerdict::UnmountedOnly{}}, true), id).outcome, Outcome::forced);
}

TEST(HistoryEvent, OutcomesHaveLabelsRawValuesAndBlockedness) {
    EXPECT_EQ(label(Outcome::unmountedOnly), "Unmounted");
    EXPECT_EQ(label(Outcome::heldByMacOS), "macOS service");
    EXPECT_EQ(label(Outcome::failed), "Refused");
    EXPECT_EQ(rawValue(Outcome::waitingOnApps), "waitingOnApps");
    EXPECT_EQ(outcomeFromRawValue("forced"), Outcome::forced);
    EXPECT_EQ(outcomeFromRawValue("Forced"), std::nullopt);
    int blocked = 0;
    for (const Outcome outcome : {Outcome::ejected, Outcome::unmountedOnly, Outcome::inUse, Outcome::heldByMacOS,
                                  Outcome::waitingOnApps, Outcome::backupRunning, Outcome::failed, Outcome::forced}) {
        blocked += HistoryEvent::isBlocked(outcome);
    }
    EXPECT_EQ(blocked, 5);
}

TEST(History, KeepsTheNewestFiveHundred) {
    History history;
    for (int index = 0; index < 501; ++index) history.add(event(Outcome::ejected, {}, std::chrono::seconds{-index}));
    ASSERT_EQ(history.events.size(), History::limit);
    EXPECT_EQ(history.events.front().date, start + 500s);
    EXPECT_EQ(history.events.back().date, start + 1s);

    std::vector<HistoryEvent> many(History::limit + 3, event(Outcome::failed, {}, 0s));
    many.front().driveName = "First";
    const History trimmed(many);
    EXPECT_EQ(trimmed.events.size(), History::limit);
    EXPECT_EQ(trimmed.events.front().driveName, "First");
    EXPECT_EQ(trimmed.blockedCount(), 500);

    history.clear();
    EXPECT_TRUE(history.events.empty());
    EXPECT_EQ(History(std::vector<HistoryEvent>{}), History{});
}

TEST(History, OffendersAreCountedPerBlockedEjectAndOrdered) {
    const Culprit pages{"Pages", HelperKind::app};
    const Culprit spotlight{"mds", HelperKind::spotlight};
    const History history(std::vector<HistoryEvent>{
        event(Outcome::inUse, {spotlight}, 10s),
        event(Outcome::ejected, {pages, spotlight}, 20s),  // not blocked: never counts
        event(Outcome::heldByMacOS, {spotlight}, 30s),
        event(Outcome::inUse, {pages, pages}, 40s),  // two processes of one app count once
        event(Outcome::waitingOnApps, {{"Pages", HelperKind::commandLine}, pages}, 50s),
        event(Outcome::backupRunning, {spotlight, {"Time Machine", HelperKind::timeMachine}}, 60s),
        event(Outcome::failed, {pages}, 70s),
        event(Outcome::forced, {pages}, 80s),
    });
    EXPECT_EQ(history.blockedCount(), 6);

    const auto offenders = history.offenders(5);
    ASSERT_EQ(offenders.size(), 3u);
    // Both blocked three times; the service did so more recently.
    EXPECT_EQ(offenders[0], (Offender{"mds", HelperKind::spotlight, 3, start - 10s}));
    EXPECT_EQ(offenders[1].name, "Pages");
    EXPECT_EQ(offenders[1].count, 3);
    EXPECT_EQ(offenders[1].lastSeen, start - 40s);
    // The kind first met, walking from the newest event.
    EXPECT_EQ(offenders[1].kind, HelperKind::app);
    EXPECT_EQ(offenders[2].name, "Time Machine");
    EXPECT_EQ(offenders[2].count, 1);

    EXPECT_EQ(history.offenders(1).size(), 1u);
    EXPECT_TRUE(history.offenders(0).empty());
}
