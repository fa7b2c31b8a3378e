#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "KestrixKit/Backups/BackupCommandLine.h"
#include "KestrixKit/Backups/BackupTexts.h"
#include "KestrixKit/Backups/RunningBackups.h"
#include "KestrixKit/Backups/TimeshiftSettings.h"
#include "KestrixKit/TimeMachine/TimeMachineStatusCoding.h"

using namespace kestrix;
using Words = std::vector<std::string>;

TEST(BackupCommandLine, FindsTheProgramBehindItsInterpreter) {
    using BackupCommandLine::programName;
    EXPECT_EQ(programName({"/usr/bin/python3", "/usr/bin/borg", "create", "/r::a"}), "borg");
    EXPECT_EQ(programName({"python3.11", "-s", "/usr/bin/duplicity", "full"}), "duplicity");
    EXPECT_EQ(programName({"borg", "-c", "code"}), "borg");
    EXPECT_EQ(programName({"/usr/bin/python3", "-c", "import time"}), "python3");
    EXPECT_EQ(programName({"/usr/bin/shred", "x"}), "shred");
    EXPECT_EQ(programName({}), "");
    EXPECT_EQ(BackupCommandLine::words(std::string("borg\0create\0/r::a\0", 18)), (Words{"borg", "create", "/r::a"}));
}

TEST(BackupCommandLine, ReadsTheRepositoryOfEachFormOfBorgAndRestic) {
    using BackupCommandLine::borgRepository;
    using BackupCommandLine::resticRepository;
    EXPECT_EQ(borgRepository({"borg", "create", "--exclude", "/home/a/.cache", "/media/a/B/repo::{now}", "/home"}),
              "/media/a/B/repo");
    EXPECT_EQ(borgRepository({"borg", "--repo=/media/a/B/r2", "create", "x"}), "/media/a/B/r2");
    EXPECT_EQ(borgRepository({"borg", "-r", "/media/a/B/r2", "create", "x"}), "/media/a/B/r2");
    EXPECT_EQ(borgRepository({"borg", "check", "--verify-data", "/media/a/B/repo"}), "/media/a/B/repo");
    EXPECT_EQ(borgRepository({"borg", "create", "::{now}", "/home"}), std::nullopt) << "BORG_REPO";
    EXPECT_EQ(borgRepository({"borg", "list"}), std::nullopt);
    EXPECT_EQ(resticRepository({"restic", "-r", "local:/media/a/B/r", "backup", "/home"}), "local:/media/a/B/r");
    EXPECT_EQ(resticRepository({"restic", "--repo=/m/r", "backup"}), "/m/r");
    EXPECT_EQ(resticRepository({"restic", "-r/m/r", "backup"}), "/m/r");
    EXPECT_EQ(resticRepository({"restic", "backup", "--", "-r", "/m/r"}), std::nullopt);
}

TEST(BackupCommandLine, OnlyAFolderOnThisComputerIsARepositoryOnADrive) {
    using BackupCommandLine::localFolder;
    const std::optional<std::string> cwd = "/media/a/B";
    EXPECT_EQ(localFolder("/media/a/B/r", std::nullopt), "/media/a/B/r");
    EXPECT_EQ(localFolder("file:///media/a/B/r", std::nullopt), "/media/a/B/r");
    EXPECT_EQ(localFolder("local:/media/a/B/r", std::nullopt), "/media/a/B/r");
    EXPECT_EQ(localFolder("./repo", cwd), "/media/a/B/repo");
    EXPECT_EQ(localFolder("repo", std::nullopt), std::nullopt);
    for (const char* remote : {"user@host:repo", "ssh://host/r", "sftp:host:/r", "s3:s3.amazonaws.com/b", "rest:http://h/"}) {
        EXPECT_EQ(localFolder(remote, cwd), std::nullopt) << remote;
    }
    EXPECT_TRUE(BackupCommandLine::isTimeshiftBackup({"timeshift", "--check", "--scripted"}));
    EXPECT_FALSE(BackupCommandLine::isTimeshiftBackup({"timeshift", "--list"}));
    EXPECT_FALSE(BackupCommandLine::isTimeshiftBackup({"--create"}));
}

TEST(TimeshiftSettings, TakesOnlyAUUIDFromASettingsObject) {
    using TimeshiftSettings::backupDeviceUUID;
    EXPECT_EQ(backupDeviceUUID(R"({"backup_device_uuid" : "5c1f0a7e-29d4-4c36-9e0b-8a1d3f6b2c11",
                                   "btrfs_mode" : "false", "schedule_daily" : "true"})"),
              "5c1f0a7e-29d4-4c36-9e0b-8a1d3f6b2c11");
    EXPECT_EQ(backupDeviceUUID(R"({"backup_device_uuid" : "ABCD-1234"})"), "ABCD-1234");
    for (const char* bad : {R"({"backup_device_uuid" : ""})", R"({"backup_device_uuid" : "../../etc/passwd"})",
                            R"({"backup_device_uuid" : 7})", R"(["backup_device_uuid"])", "{", "",
                            R"({"backup_device_uuid" : "a b"})"}) {
        EXPECT_EQ(backupDeviceUUID(bad), std::nullopt) << bad;
    }
}

TEST(RunningBackups, EachToolIsFoundOnceAndOnlyWhileItBacksUp) {
    const std::vector<BackupProcess> table{
        {.pid = 1, .parentPID = 0, .uid = 0, .name = "systemd", .arguments = {"/sbin/init"}},
        // Déjà Dup, with its restic under it and with the idle monitor beside it.
        {.pid = 200, .parentPID = 1, .uid = 1000, .name = "deja-dup", .arguments = {"/usr/bin/deja-dup", "--backup"}},
        {.pid = 201, .parentPID = 200, .uid = 1000, .name = "restic",
         .arguments = {"restic", "-r", "/media/a/B/deja", "backup"}},
        {.pid = 202, .parentPID = 201, .uid = 1000, .name = "gpg", .arguments = {"gpg"}},
        {.pid = 210, .parentPID = 1, .uid = 1000, .name = "deja-dup-monito", .arguments = {"/usr/libexec/deja-dup/deja-dup-monitor"}},
        // Timeshift making a snapshot as root, with its rsync; and one only listing.
        {.pid = 300, .parentPID = 1, .uid = 0, .name = "timeshift", .arguments = {"timeshift", "--create"}},
        {.pid = 301, .parentPID = 300, .uid = 0, .name = "rsync", .arguments = {"rsync", "-aii"}},
        {.pid = 310, .parentPID = 1, .uid = 0, .name = "timeshift", .arguments = {"timeshift", "--list"}},
        // borg of the user in its repository's folder, restic of another user, a remote borg.
        {.pid = 400, .parentPID = 1, .uid = 1000, .name = "borg", .arguments = {"/usr/bin/python3", "/usr/bin/borg", "create", "repo::a", "/home"},
         .workingFolder = "/media/a/S"},
        {.pid = 500, .parentPID = 1, .uid = 1001, .name = "restic", .arguments = {"restic", "--repo", "/media/a/T/r", "backup"}},
        {.pid = 600, .parentPID = 1, .uid = 1000, .name = "borg", .arguments = {"borg", "create", "me@nas:r::a"}},
        // A Déjà Dup window with nothing running under it.
        {.pid = 700, .parentPID = 1, .uid = 1000, .name = "deja-dup", .arguments = {"deja-dup"}},
    };
    const std::vector<RunningBackup> found = RunningBackups::find(table, 1000);
    const std::vector<RunningBackup> expected{
        {.tool = BackupTool::dejaDup, .processes = {200, 201, 202}},
        {.tool = BackupTool::timeshift, .processes = {300, 301}},
        {.tool = BackupTool::borg, .processes = {400}, .repository = "/media/a/S/repo", .stoppable = true},
        {.tool = BackupTool::restic, .processes = {500}, .repository = "/media/a/T/r", .stoppable = false},
    };
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(RunningBackups::find(table, 0).back().stoppable) << "root may stop anyone's";
    EXPECT_TRUE(RunningBackups::find({}, 1000).empty());
}

TEST(BackupTexts, NameTheToolAndHowToStopIt) {
    const TimeMachineStatus dejaDup{.running = true, .tool = BackupTool::dejaDup, .stoppable = false};
    const TimeMachineStatus borg{.running = true, .tool = BackupTool::borg, .processes = {4}};
    EXPECT_EQ(BackupTexts::backingUp(dejaDup, std::nullopt), "D\u00e9j\u00e0 Dup is backing up to this drive.");
    EXPECT_EQ(BackupTexts::report(borg, "Backup"), "Borg is backing up to Backup.");
    EXPECT_EQ(BackupTexts::advice(borg), "Wait for the backup to finish, or stop it.");
    EXPECT_NE(BackupTexts::advice(dejaDup).find("Resume Later"), std::string::npos);
    EXPECT_EQ(BackupTexts::advice(TimeMachineStatus{.tool = BackupTool::restic, .stoppable = false}),
              "restic runs as another user. To stop it, press Ctrl+C in the terminal that runs it, or wait for it to "
              "finish.");
    EXPECT_EQ(BackupTexts::report(TimeMachineStatus{.running = true}, "Backup"), "Time Machine is backing up to Backup.");
}

TEST(BackupStatusCoding, ALinuxToolsFieldsRoundTripAndTheOthersStayOut) {
    const TimeMachineStatus borg{.running = true, .destinationMountPoints = {"/m/r"}, .tool = BackupTool::borg,
                                 .processes = {4, 5}, .stoppable = false};
    const nlohmann::json coded = borg;
    EXPECT_EQ(coded.at("tool"), "borg");
    EXPECT_EQ(coded.get<TimeMachineStatus>(), borg);
    const nlohmann::json plain = TimeMachineStatus{.running = true, .destinationMountPoints = {"/m"}};
    EXPECT_EQ(plain, nlohmann::json::parse(R"({"running": true, "destinationMountPoints": ["/m"]})"));
    EXPECT_FALSE(nlohmann::json::parse(R"({"running": true, "destinationMountPoints": [], "tool": "tmutil"})")
                     .get<TimeMachineStatus>()
                     .tool);
}
