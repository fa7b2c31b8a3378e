#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>

#include "KestrixKit/Linux/Files/HistoryFile.h"
#include "KestrixKit/System/HistoryRecording.h"
#include "ModelHarness.h"

using namespace kestrix;
using namespace kestrix::testing;

namespace {

nlohmann::json sticks(const std::string& name, int count) {
    nlohmann::json volumes = nlohmann::json::array();
    for (int index = 0; index < count; ++index) volumes.push_back(stick(name + std::to_string(index), index));
    return {{"volumes", volumes}};
}

// Runs the event loop until the predicate holds, for up to the given time.
bool waitLong(int milliseconds, const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.hasExpired(milliseconds)) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

}  // namespace

TEST(ModelHistory, TheAppAndAHundredKestrixctlRunsWritingOneHistoryLoseNoEvent) {
    ModelHarness harness;
    harness.start(sticks("Stick", 10));
    AppModel& model = *harness.model;
    const std::string history = harness.path("history.json").toStdString();
    // Each run of kestrixctl ejects a stick of a world of its own and records it in the same file.
    const QString world = harness.path("outside.json");
    std::ofstream(world.toStdString()) << sticks("Outside", 1).dump();

    std::vector<std::unique_ptr<QProcess>> runs;
    const auto startRuns = [&](int count) {
        for (int run = 0; run < count; ++run) {
            auto process = std::make_unique<QProcess>();
            process->start(KESTRIXCTL_PATH, {"--world", world, "--history", QString::fromStdString(history), "eject",
                                             "Outside0"});
            runs.push_back(std::move(process));
        }
    };
    const auto finished = [&] {
        for (const auto& run : runs) {
            if (run->state() != QProcess::NotRunning) return false;
        }
        return true;
    };
    // The app ejects its sticks one by one while the runs save, a few dozen at a time.
    std::optional<std::vector<DriveReport>> ejected;
    startRuns(25);
    model.ejectAll(false, [&](std::vector<DriveReport> reports) { ejected = std::move(reports); });
    for (int batch = 1; batch < 4; ++batch) {
        ASSERT_TRUE(waitLong(120000, finished));
        startRuns(25);
    }
    ASSERT_TRUE(waitLong(120000, [&] { return finished() && ejected && harness.settled(0); }));
    ASSERT_EQ(ejected->size(), 10u);
    for (const auto& run : runs) ASSERT_EQ(run->exitCode(), 0) << run->readAllStandardError().toStdString();

    // Every event of both is in the file, once, and the History page shows what the file holds.
    const History saved = loadHistory(history).history;
    std::set<std::string> ids;
    for (const HistoryEvent& event : saved.events) ids.insert(event.id.string());
    EXPECT_EQ(saved.events.size(), 110u);
    EXPECT_EQ(ids.size(), 110u);
    EXPECT_EQ(std::count_if(saved.events.begin(), saved.events.end(),
                            [](const HistoryEvent& event) { return event.driveName == "Outside0"; }),
              100);
    EXPECT_TRUE(waitLong(10000, [&] { return model.history() == saved; }))
        << "the app shows " << model.history().events.size() << " events";
}

TEST(ModelHistory, ALockHeldElsewhereNeverHoldsUpTheAppAndTheEventIsSavedOnceItIsFree) {
    ModelHarness harness;
    harness.start(sticks("Stick", 1));
    AppModel& model = *harness.model;
    const std::string history = harness.path("history.json").toStdString();
    // Another program holds the history's lock, and keeps it.
    const int lock = open((history + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);

    model.eject(harness.drive(stickId(0)), false, false);
    ASSERT_TRUE(waitLong(5000, [&] { return harness.settled(0) && !model.history().events.empty(); }));
    EXPECT_EQ(model.history().events.size(), 1u) << "shown at once";
    EXPECT_TRUE(loadHistory(history).history.events.empty());

    flock(lock, LOCK_UN);
    close(lock);
    EXPECT_TRUE(waitLong(15000, [&] { return loadHistory(history).history.events.size() == 1; }))
        << "saved once the lock was free";
    EXPECT_TRUE(waitLong(5000, [&] { return model.history() == loadHistory(history).history; }))
        << "the app takes the file as its history";
}

TEST(ModelHistory, ClearingEmptiesTheFileAndEventsAddedLaterStillShow) {
    ModelHarness harness;
    harness.start(sticks("Stick", 2));
    AppModel& model = *harness.model;
    const std::string history = harness.path("history.json").toStdString();
    model.eject(harness.drive(stickId(0)), false, false);
    ASSERT_TRUE(waitLong(10000, [&] { return loadHistory(history).history.events.size() == 1; }));
    model.clearHistory();
    EXPECT_TRUE(model.history().events.empty());
    ASSERT_TRUE(waitLong(10000, [&] { return loadHistory(history).history.events.empty(); }));

    // kestrixctl adds an event: the app shows it without being asked.
    recordReports(history, {DriveReport{.drive = harness.drive(stickId(1)), .verdict = {DriveVerdict::Ejected{}},
                                        .date = std::chrono::system_clock::now()}});
    EXPECT_TRUE(waitLong(10000, [&] { return model.history().events.size() == 1; }));
}
