#include <gtest/gtest.h>

#include <QSignalSpy>

#include <algorithm>

#include "KestrixKit/Linux/Files/HistoryFile.h"
#include "ModelHarness.h"

using namespace kestrix;
using namespace kestrix::testing;

namespace {

nlohmann::json sticks(int count) {
    nlohmann::json volumes = nlohmann::json::array();
    for (int index = 0; index < count; ++index) volumes.push_back(stick("Stick", index));
    return {{"volumes", volumes}};
}

}  // namespace

TEST(ModelEject, KeepsTheSixNewestSuccessesAndSavesEveryReportInTheHistory) {
    ModelHarness harness;
    harness.start(sticks(8));
    AppModel& model = *harness.model;
    for (int index = 0; index < 8; ++index) {
        model.eject(harness.drive(stickId(index)), false, false);
        ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(static_cast<std::size_t>(7 - index)); }));
    }
    ASSERT_EQ(model.recent().size(), 6u);
    EXPECT_EQ(model.recent().front().drive.id, stickId(7));
    EXPECT_EQ(model.recent().back().drive.id, stickId(2));
    EXPECT_TRUE(model.states().empty()) << "ejected drives leave the list and their states with it";
    EXPECT_EQ(harness.announcements.size(), 8u);
    EXPECT_EQ(harness.announcements.front(), "Stick ejected. It’s safe to unplug.");
    EXPECT_TRUE(harness.toasts.empty());
    const std::string history = harness.path("history.json").toStdString();
    EXPECT_TRUE(ModelHarness::waitFor([&] { return loadHistory(history).history.events.size() == 8u; }));

    model.clearHistory();
    EXPECT_TRUE(ModelHarness::waitFor([&] { return loadHistory(history).history.events.empty(); }));
}

TEST(ModelEject, AnEjectMayOvertakeACheckButNothingOvertakesAnEject) {
    ModelHarness harness;
    harness.start(sticks(1));
    AppModel& model = *harness.model;
    const Drive drive = harness.drive(stickId(0));
    model.check(drive);
    model.eject(drive, false, false);
    EXPECT_EQ(model.state(drive.id).busy, Busy::ejecting);
    model.check(drive);
    model.eject(drive, true, false);
    EXPECT_EQ(model.state(drive.id).busy, Busy::ejecting);

    ASSERT_TRUE(ModelHarness::waitFor([&] { return model.drives().empty() && !model.states().contains(drive.id); }));
    EXPECT_EQ(model.history().events.size(), 1u) << "one eject ran";
    EXPECT_FALSE(model.recent().front().forced);
}

TEST(ModelEjectAll, WithNoDrivesSaysSoAndEndsAtOnce) {
    ModelHarness harness;
    harness.start(nlohmann::json::object());
    AppModel& model = *harness.model;
    std::optional<std::vector<DriveReport>> reports;
    model.ejectAll(true, [&](std::vector<DriveReport> result) { reports = std::move(result); });
    EXPECT_FALSE(model.ejectingAll());
    EXPECT_FALSE(reports) << "the answer comes later, never during the call";
    ASSERT_TRUE(ModelHarness::waitFor([&] { return reports.has_value(); }));
    EXPECT_TRUE(reports->empty());
    EXPECT_TRUE(model.allResults().empty());
    EXPECT_EQ(harness.toasts, std::vector<QString>{"No drives to eject."});
}

TEST(ModelEjectAll, RunsOneAtATimeAndSummarizesWhatWasLeft) {
    ModelHarness harness;
    harness.start({{"volumes", {stick("Docs", 0), stick("Held", 1), stick("Music", 2)}},
                   {"processes", {userProcess(410, "vim", stick("Held", 1))}}});
    AppModel& model = *harness.model;

    std::optional<std::vector<DriveReport>> first;
    std::optional<std::vector<DriveReport>> second;
    model.ejectAll(true, [&](std::vector<DriveReport> result) { first = std::move(result); });
    EXPECT_TRUE(model.ejectingAll());
    model.ejectAll(true, [&](std::vector<DriveReport> result) { second = std::move(result); });
    ASSERT_TRUE(ModelHarness::waitFor([&] { return first && second; }));
    EXPECT_EQ(*second, *first) << "a second Eject All while one runs joins it";

    ASSERT_EQ(first->size(), 3u);
    EXPECT_EQ((*first)[1].drive.id, stickId(1));
    EXPECT_EQ(model.allResults(), *first);
    EXPECT_FALSE(model.ejectingAll());
    EXPECT_EQ(harness.toasts, std::vector<QString>{"Ejected: 2 of 3. Held is in use by vim."});
    EXPECT_EQ(harness.announcements.size(), 3u) << "each drive is announced, the summary only toasted";
    ASSERT_TRUE(ModelHarness::waitFor([&] { return model.drives().size() == 1; }));
    EXPECT_TRUE(model.display(stickId(1)).is<DriveDisplay::InUse>());
}

TEST(ModelEjectOnce, RequestsForADriveBeingEjectedWaitForThatEjectAndOneEventRecordsIt) {
    ModelHarness harness;
    harness.start({{"volumes", {stick("Stick", 0), stick("Card", 1)}}});
    AppModel& model = *harness.model;
    std::vector<std::optional<DriveReport>> answers;
    for (int request = 0; request < 10; ++request) {
        model.ejectDriveNamed("Stick", [&](std::optional<DriveReport> report) { answers.push_back(std::move(report)); });
    }
    // Eject All, started meanwhile, waits for the Stick's eject rather than ejecting it again.
    std::optional<std::vector<DriveReport>> all;
    model.ejectAll(false, [&](std::vector<DriveReport> reports) { all = std::move(reports); });
    ASSERT_TRUE(ModelHarness::waitFor([&] { return answers.size() == 10 && all && harness.settled(0); }));
    for (const auto& answer : answers) {
        ASSERT_TRUE(answer);
        EXPECT_EQ(*answer, *answers.front());
        EXPECT_TRUE(answer->verdict.is<DriveVerdict::Ejected>()) << answer->verdict.caseName();
    }
    ASSERT_EQ(all->size(), 2u);
    EXPECT_EQ(all->front(), *answers.front());
    EXPECT_EQ(model.history().events.size(), 2u) << "one event per real eject: the Stick's and the Card's";
    EXPECT_TRUE(ModelHarness::waitFor(
        [&] { return loadHistory(harness.path("history.json").toStdString()).history.events.size() == 2u; }));
    EXPECT_EQ(harness.toasts, std::vector<QString>{"Stick ejected. It’s safe to unplug."}) << "toasted once";
}

TEST(ModelEjectOnce, ADriveEjectedAMomentAgoIsNotEjectedAgainWhileStillListed) {
    ModelHarness harness;
    harness.start({{"volumes", {stick("Stick", 0)}}});
    AppModel& model = *harness.model;
    std::optional<DriveReport> first;
    model.ejectDriveNamed("Stick", [&](std::optional<DriveReport> report) { first = std::move(report); });
    ASSERT_TRUE(ModelHarness::waitFor([&] { return first.has_value(); }));
    ASSERT_EQ(model.drives().size(), 1u) << "still listed until the drives are listed again";

    // Asked again before that listing, Stick answers with the eject that just ran, and so does
    // Eject All.
    std::optional<std::optional<DriveReport>> again;
    model.ejectDriveNamed("Stick", [&](std::optional<DriveReport> report) { again = std::move(report); });
    std::optional<std::vector<DriveReport>> all;
    model.ejectAll(false, [&](std::vector<DriveReport> reports) { all = std::move(reports); });
    model.eject(model.drives().front(), false, false);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return again && all && harness.settled(0); }));
    EXPECT_EQ(*again, first);
    EXPECT_EQ(*all, std::vector<DriveReport>{*first});
    EXPECT_EQ(model.history().events.size(), 1u);
}

TEST(ModelEjectDriveNamed, EjectsOnlyTheFirstMatchAndNothingWithoutOne) {
    ModelHarness harness;
    harness.start({{"volumes", {stick("Backup", 0), stick("Stick", 1), stick("stick", 2)}}});
    AppModel& model = *harness.model;
    const auto statesBefore = model.states();

    std::optional<std::optional<DriveReport>> missing;
    model.ejectDriveNamed("Camera", [&](std::optional<DriveReport> report) { missing = std::move(report); });
    ASSERT_TRUE(ModelHarness::waitFor([&] { return missing.has_value(); }));
    EXPECT_FALSE(*missing);
    EXPECT_EQ(model.states(), statesBefore);

    std::optional<std::optional<DriveReport>> found;
    model.ejectDriveNamed("STICK", [&](std::optional<DriveReport> report) { found = std::move(report); });
    EXPECT_EQ(model.state(stickId(1)).busy, Busy::ejecting);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return found.has_value() && model.drives().size() == 2; }));
    ASSERT_TRUE(*found);
    EXPECT_EQ((*found)->drive.id, stickId(1));
    EXPECT_EQ(model.drives()[1].id, stickId(2)) << "the second match stays";
    EXPECT_EQ(harness.toasts, std::vector<QString>{"Stick ejected. It’s safe to unplug."});
}

TEST(ModelEjectAll, ADetachedDriveStaysOnScreenUntilReleasedAndIsRecordedOnce) {
    ModelHarness harness;
    const nlohmann::json detached{{"outcome", "detached"}};
    harness.start({{"volumes", {stick("Holiday", 0), stick("Music", 1)}},
                   {"ejector", {{stickId(0), {detached, detached}}}}});
    AppModel& model = *harness.model;
    std::optional<std::vector<DriveReport>> reports;
    model.ejectAll(true, [&](std::vector<DriveReport> result) { reports = std::move(result); });
    ASSERT_TRUE(ModelHarness::waitFor([&] { return reports.has_value(); }));
    EXPECT_EQ(harness.toasts.back(),
              "Ejected: 1 of 2. Holiday is detached. It becomes safe to unplug when the system lets go of it.");

    ASSERT_TRUE(ModelHarness::waitFor([&] { return model.recent().size() == 2; }));
    EXPECT_EQ(model.recent().front().drive.id, stickId(0));
    // Announced when detached and when safe, not at every look in between.
    EXPECT_EQ(std::count(harness.announcements.begin(), harness.announcements.end(),
                         "Holiday is detached. It becomes safe to unplug when the system lets go of it."), 1);
    EXPECT_EQ(harness.announcements.back(), "Holiday ejected. It’s safe to unplug.");
    // Each drive's final result once; the history is written off the main thread.
    EXPECT_TRUE(ModelHarness::waitFor(
        [&] { return loadHistory(harness.path("history.json").toStdString()).history.events.size() == 2u; }));
    ASSERT_TRUE(ModelHarness::waitFor([&] { return model.drives().empty(); }));
}

TEST(ModelEject, ADetachedDriveIsShownWhileItIsWatched) {
    ModelHarness harness;
    const nlohmann::json detached{{"outcome", "detached"}};
    harness.start({{"volumes", {stick("Holiday", 0)}}, {"ejector", {{stickId(0), {detached, detached, detached}}}}});
    AppModel& model = *harness.model;
    // Each look at the drive waits here until the test lets it go on.
    std::vector<std::function<void()>> looks;
    harness.timer->hold = [&](std::function<void()> look) { looks.push_back(std::move(look)); };
    model.eject(harness.drive(stickId(0)), true, false);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return looks.size() == 1; }));
    model.refresh();
    ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(1); }));
    EXPECT_EQ(model.drives().size(), 1u) << "unmounted, but still on screen";
    EXPECT_TRUE(model.display(stickId(0)).is<DriveDisplay::Detached>());
    EXPECT_EQ(model.attentionCount(), 1);
    EXPECT_TRUE(model.recent().empty());
}
