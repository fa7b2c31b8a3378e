#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "KestrixApp/Model/AppSystemFactory.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"
#include "ModelHarness.h"

using namespace kestrix;
using namespace kestrix::testing;

// On this machine: a borg backup writes to a loop drive from inside it. Eject meets the backup,
// not borg as a holder; Wait, Then Eject ejects the moment borg's process has ended.
TEST(ModelLinuxBackup, WaitsForBorgToEndThenEjectsTheLoopDrive) {
    kestrix::test::LoopDrive loop({.folderPrefix = "kestrix-borg", .labelPrefix = "Borg"});
    if (loop.skipReason()) GTEST_SKIP() << *loop.skipReason();
    if (!kestrix::test::runQuietly("test -x /usr/bin/python3")) GTEST_SKIP() << "/usr/bin/python3 is needed to pose as borg";
    std::filesystem::create_directories(loop.mountPath() + "/repo");
    kestrix::test::ChildProcess borg(
        {"/bin/bash", "-c", "exec -a borg /usr/bin/python3 -c 'import time; time.sleep(600)' create repo::monday /home"},
        loop.mountPath());

    ModelHarness harness;
    auto made = makeAppBackend(AppSystemChoice{.historyPath = harness.path("history.json").toStdString()});
    ASSERT_TRUE(std::holds_alternative<AppBackend>(made)) << std::get<std::string>(made);
    harness.build(std::get<AppBackend>(std::move(made)));
    AppModel& model = *harness.model;
    // A loop drive is a disk image to Kestrix.
    model.setShowDiskImages(true);
    model.start();
    const auto listed = [&]() -> std::optional<Drive> {
        for (const Drive& drive : model.drives()) {
            if (drive.mountPaths() == std::vector<std::string>{loop.mountPath()}) return drive;
        }
        return std::nullopt;
    };
    ASSERT_TRUE(ModelHarness::waitFor([&] { return listed() && !model.state(listed()->id).busy; }));
    const Drive drive = *listed();

    model.eject(drive, false, false);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return model.display(drive.id).is<DriveDisplay::Backup>(); }));
    const auto backup = model.display(drive.id).as<DriveDisplay::Backup>()->status;
    EXPECT_EQ(backup.tool, BackupTool::borg);
    EXPECT_EQ(backup.processes.front(), borg.pid());

    model.waitForBackup(drive);
    // The wait wakes when borg's process ends, not on a clock: within the ten seconds the timer
    // would have taken for one poll, the drive is ejected, and the timer was never asked to wait
    // for the backup.
    borg.end();
    const bool ejected = ModelHarness::waitFor([&] { return !loop.isMounted() && !model.recent().empty(); });
    ASSERT_TRUE(ejected);
    // (A wait of a second may follow: the eject's watch for the loop device to let go.)
    EXPECT_EQ(std::count(harness.timer->waits.begin(), harness.timer->waits.end(), 10.0), 0) << "a backup poll on the clock";
    EXPECT_TRUE(model.recent().back().verdict.isDone());
}
