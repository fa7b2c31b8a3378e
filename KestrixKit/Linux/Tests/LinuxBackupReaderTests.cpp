#include <gtest/gtest.h>

#include <gio/gio.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "KestrixKit/Linux/Backups/LinuxBackupReader.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"

using namespace kestrix;
using kestrix::test::ChildProcess;
using kestrix::test::LoopDrive;

namespace {

// A program that waits to be ended, started under the name (and with the arguments) of a backup
// tool; SIGINT ends it, as Ctrl+C ends borg and restic.
std::vector<std::string> posingAs(const std::string& name, const std::string& arguments) {
    return {"/bin/bash", "-c", "exec -a " + name + " /usr/bin/python3 -c 'import time; time.sleep(600)' " + arguments};
}

class LinuxBackupReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (drive.skipReason()) GTEST_SKIP() << *drive.skipReason();
        if (!kestrix::test::runQuietly("test -x /usr/bin/python3")) {
            GTEST_SKIP() << "/usr/bin/python3 is needed to pose as a tool";
        }
        uuid = kestrix::test::commandOutput("blkid -s UUID -o value " + drive.loopDevice());
        if (uuid.empty()) GTEST_SKIP() << "blkid can't read the drive's UUID";
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    LinuxBackupReader reader(std::uint32_t uid) {
        return LinuxBackupReader(uid, {.timeshiftSettings = folder + "/timeshift.json", .home = folder},
                                 [this](const std::string& line) { traced.push_back(line); });
    }

    // The backup of the process started here, waiting for /proc to show it whole.
    std::optional<TimeMachineStatus> backupOf(const ChildProcess& process, std::size_t processCount = 1) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            for (TimeMachineStatus& status : reader(getuid()).running()) {
                if (status.processes.front() == process.pid() && status.processes.size() >= processCount) return status;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return std::nullopt;
    }

    bool traces(const std::string& line) const {
        return std::find(traced.begin(), traced.end(), line) != traced.end();
    }

    LoopDrive drive{{.folderPrefix = "kestrix-backups", .labelPrefix = "Backup"}};
    std::string folder = std::filesystem::temp_directory_path() / ("kestrix-backups-" + std::to_string(getpid()));
    std::string uuid;
    std::vector<std::string> traced;
};

}  // namespace

TEST_F(LinuxBackupReaderTest, TimeshiftWritesToTheDriveItsSettingsNameByUUID) {
    ChildProcess timeshift(posingAs("timeshift", "--create --scripted"));
    // No settings file: Timeshift isn't set up, so its snapshot goes nowhere Kestrix knows.
    auto status = backupOf(timeshift);
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->destinationMountPoints.empty());
    EXPECT_TRUE(traces("timeshift settings " + folder + "/timeshift.json -> none"));

    std::ofstream(folder + "/timeshift.json") << R"({"backup_device_uuid" : ")" << uuid
                                              << R"(", "parent_device_uuid" : "", "btrfs_mode" : "false"})";
    status = backupOf(timeshift);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->tool, BackupTool::timeshift);
    EXPECT_EQ(status->destinationMountPoints, std::vector<std::string>{drive.mountPath()});
    EXPECT_FALSE(status->stoppable);
    EXPECT_TRUE(traces("mounts of UUID=" + uuid + " -> " + drive.mountPath()));
    EXPECT_EQ(reader(getuid()).stop(*status).first, false);
    EXPECT_FALSE(timeshift.hasExited());
}

TEST_F(LinuxBackupReaderTest, DejaDupWritesWhereItsGSettingsSay) {
    // The settings live in memory for this process only, under a compiled copy of Déjà Dup's
    // schema; both are set before the first GSettings call.
    const std::string schemas = folder + "/schemas";
    std::filesystem::create_directories(schemas);
    std::filesystem::copy_file(KESTRIX_LINUX_TEST_DATA "/org.gnome.DejaDup.gschema.xml", schemas + "/org.gnome.DejaDup.gschema.xml");
    if (!kestrix::test::runQuietly("glib-compile-schemas " + schemas)) GTEST_SKIP() << "glib-compile-schemas is needed";
    g_setenv("GSETTINGS_SCHEMA_DIR", schemas.c_str(), TRUE);
    g_setenv("GSETTINGS_BACKEND", "memory", TRUE);
    GSettings* settings = g_settings_new("org.gnome.DejaDup");
    GSettings* driveSettings = g_settings_get_child(settings, "drive");
    GSettings* localSettings = g_settings_get_child(settings, "local");

    // Déjà Dup runs duplicity under it while it backs up.
    ChildProcess dejaDup({"/bin/bash", "-c", "exec -a deja-dup bash -c '(exec -a duplicity sleep 600) & wait'"});
    g_settings_set_string(settings, "backend", "drive");
    g_settings_set_string(driveSettings, "uuid", uuid.c_str());
    g_settings_set_string(driveSettings, "folder", "deja");
    auto status = backupOf(dejaDup, 2);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->tool, BackupTool::dejaDup);
    EXPECT_EQ(status->destinationMountPoints, std::vector<std::string>{drive.mountPath()});
    EXPECT_FALSE(status->stoppable);
    EXPECT_TRUE(traces("gsettings org.gnome.DejaDup backend -> drive"));

    g_settings_set_string(settings, "backend", "local");
    g_settings_set_string(localSettings, "folder", (drive.mountPath() + "/deja").c_str());
    EXPECT_EQ(backupOf(dejaDup, 2)->destinationMountPoints, std::vector<std::string>{drive.mountPath() + "/deja"});
    g_settings_set_string(localSettings, "folder", "deja-backups");
    EXPECT_EQ(backupOf(dejaDup, 2)->destinationMountPoints, std::vector<std::string>{folder + "/deja-backups"});
    g_settings_set_string(settings, "backend", "google");
    EXPECT_TRUE(backupOf(dejaDup, 2)->destinationMountPoints.empty());

    g_object_unref(localSettings);
    g_object_unref(driveSettings);
    g_object_unref(settings);
}

TEST_F(LinuxBackupReaderTest, BorgAndResticByTheirRepositoryAndCtrlCStopsThem) {
    std::filesystem::create_directories(drive.mountPath() + "/repo");
    // borg in the repository's folder, naming it relatively; restic naming its own absolutely.
    ChildProcess borg(posingAs("borg", "create repo::monday /home"), drive.mountPath());
    ChildProcess restic(posingAs("restic", "-r " + drive.mountPath() + "/restic-repo backup /home"));
    const auto borgBackup = backupOf(borg);
    const auto resticBackup = backupOf(restic);
    ASSERT_TRUE(borgBackup && resticBackup);
    EXPECT_EQ(borgBackup->tool, BackupTool::borg);
    EXPECT_EQ(borgBackup->destinationMountPoints, std::vector<std::string>{drive.mountPath() + "/repo"});
    EXPECT_EQ(resticBackup->destinationMountPoints, std::vector<std::string>{drive.mountPath() + "/restic-repo"});
    EXPECT_TRUE(borgBackup->stoppable && resticBackup->stoppable);

    // A status seen before its process ended, and its pid since given to another program, is
    // never signalled.
    TimeMachineStatus stale = *resticBackup;
    stale.tool = BackupTool::borg;
    EXPECT_EQ(reader(getuid()).stop(stale), std::make_pair(true, std::string()));
    EXPECT_FALSE(restic.hasExited());

    EXPECT_EQ(reader(getuid()).stop(*borgBackup), std::make_pair(true, std::string()));
    EXPECT_TRUE(borg.hasExited());
    EXPECT_TRUE(traces("kill -INT " + std::to_string(borg.pid()) + " -> true"));
}
