#include <gtest/gtest.h>

#include <chrono>

#include <QTest>

#include "ModelHarness.h"

using namespace kestrix;
using namespace kestrix::testing;

namespace {

// The "Backup" stick of the world has a backup running to it.
const std::string backupDrive = "sdc";

// A world whose backup runs for the given number of status reads, then ends.
AppBackend backupEndingAfter(const ModelHarness& harness, int runningReads) {
    AppBackend backend = harness.backend();
    auto reads = std::make_shared<int>(0);
    backend.system.flow.timeMachine = [read = backend.system.flow.timeMachine, reads, runningReads] {
        std::optional<TimeMachineStatus> status = read();
        if (++*reads > runningReads && status) status->running = false;
        return status;
    };
    return backend;
}

}  // namespace

TEST(ModelBackupWait, EjectsOnceTheBackupHasEnded) {
    ModelHarness harness;
    harness.writeWorld(worldFile("eject-verdicts-world.json"));
    harness.build(backupEndingAfter(harness, 3));
    AppModel& model = *harness.model;
    model.start();
    ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(7); }));
    const Drive drive = harness.drive(backupDrive);

    model.waitForBackup(drive);
    EXPECT_TRUE(model.display(drive.id) == DriveDisplay{Busy::waitingForBackup});
    ASSERT_TRUE(ModelHarness::waitFor([&] { return model.recent().size() == 1; }));
    EXPECT_EQ(harness.timer->waits, (std::vector<double>{10, 10, 10, 10})) << "three polls saw it running";
    EXPECT_EQ(harness.toasts, std::vector<QString>{"Backup ejected. It’s safe to unplug."});
}

TEST(ModelBackupWait, ADriveUnpluggedDuringTheWaitIsNeitherEjectedNorRecorded) {
    ModelHarness harness;
    harness.writeWorld(worldFile("eject-verdicts-world.json"));
    AppBackend backend = backupEndingAfter(harness, 2);
    // The backup drive is unplugged while the backup still runs.
    auto unplugged = std::make_shared<bool>(false);
    backend.system.flow.timeMachine = [read = backend.system.flow.timeMachine, unplugged, reads = 0]() mutable {
        if (++reads == 2) *unplugged = true;
        return read();
    };
    backend.system.listDrives = [list = backend.system.listDrives, unplugged](VolumeFilter filter) {
        std::vector<Drive> listed = list(filter);
        if (*unplugged) std::erase_if(listed, [](const Drive& drive) { return drive.id == backupDrive; });
        return listed;
    };
    harness.build(std::move(backend));
    AppModel& model = *harness.model;
    model.start();
    ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(7); }));
    const std::size_t eventsBefore = model.history().events.size();

    model.waitForBackup(harness.drive(backupDrive));
    ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(6); })) << "the list lost the drive";
    QTest::qWait(100);
    EXPECT_TRUE(harness.toasts.empty()) << harness.toasts.front().toStdString();
    EXPECT_TRUE(model.recent().empty());
    EXPECT_EQ(model.history().events.size(), eventsBefore);
}

TEST(ModelBackupWait, GivesUpAfterTwoHoursOfPollsAndTriesTheEjectAnyway) {
    ModelHarness harness;
    harness.start(worldFile("eject-verdicts-world.json"));
    AppModel& model = *harness.model;
    const auto began = std::chrono::steady_clock::now();

    model.waitForBackup(harness.drive(backupDrive));
    ASSERT_TRUE(ModelHarness::waitFor([&] { return !harness.toasts.empty(); })) << harness.timer->waits.size() << " polls";
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(5));
    EXPECT_EQ(harness.timer->waits.size(), 720u);
    EXPECT_EQ(harness.toasts, std::vector<QString>{"Time Machine is backing up to Backup."});
    EXPECT_TRUE(model.display(backupDrive).is<DriveDisplay::Backup>());
}

TEST(ModelBackupWait, StoppingTheWaitEndsItWithoutAnEject) {
    ModelHarness harness;
    harness.writeWorld(worldFile("eject-verdicts-world.json"));
    harness.build(backupEndingAfter(harness, 0));
    AppModel& model = *harness.model;
    model.start();
    ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(7); }));
    const Drive drive = harness.drive(backupDrive);

    model.waitForBackup(drive);
    model.waitForBackup(drive);
    model.stopWaiting(drive);
    EXPECT_FALSE(model.state(drive.id).busy);
    QTest::qWait(200);
    EXPECT_EQ(harness.timer->waits.size(), 2u);
    EXPECT_FALSE(model.state(drive.id).report) << "neither the replaced nor the stopped wait ejected";
    EXPECT_TRUE(harness.toasts.empty());
}

TEST(ModelStopBackup, LeavesANoteThatTheNextEjectRemoves) {
    ModelHarness harness;
    nlohmann::json world = worldFile("eject-verdicts-world.json");
    world["timeMachine"]["stopbackup"] = {{"exit", 0}, {"output", ""}};
    harness.start(world);
    AppModel& model = *harness.model;
    const Drive drive = harness.drive(backupDrive);

    model.stopBackup(drive);
    EXPECT_TRUE(model.display(drive.id) == DriveDisplay{Busy::stoppingBackup});
    ASSERT_TRUE(ModelHarness::waitFor([&] { return model.state(drive.id).note.has_value(); }));
    EXPECT_EQ(*model.state(drive.id).note, "Time Machine is stopping the backup. Try ejecting again in a moment.");
    EXPECT_FALSE(model.state(drive.id).busy);

    model.eject(drive, false, false);
    EXPECT_FALSE(model.state(drive.id).note);
}

TEST(ModelStopBackup, SaysSoWhenTheBackupCouldNotBeStopped) {
    ModelHarness harness;
    harness.start(worldFile("eject-verdicts-world.json"));
    AppModel& model = *harness.model;
    model.stopBackup(harness.drive(backupDrive));
    ASSERT_TRUE(ModelHarness::waitFor([&] { return model.state(backupDrive).note.has_value(); }));
    EXPECT_EQ(*model.state(backupDrive).note,
              "macOS didn’t let Kestrix stop the backup. Stop it from the Time Machine menu, or wait for it to finish.");
}
