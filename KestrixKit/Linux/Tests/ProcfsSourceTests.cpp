#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "KestrixKit/Linux/Processes/ProcfsParsing.h"
#include "KestrixKit/Linux/Processes/ProcfsSource.h"
#include "KestrixKit/Linux/Processes/Signals.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Text/ValidUTF8.h"

using namespace kestrix;

TEST(ProcfsParsing, ReadsStatusFdinfoAndMaps) {
    const auto status = procfs::parseStatus("Name:\tmy\\\\tool\\nx\nUmask:\t0022\nState:\tS\nPPid:\t77\n"
                                            "Uid:\t1000\t1001\t1000\t1000\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, (procfs::StatusFields{.name = "my\\tool\nx", .effectiveUID = 1001, .parentPID = 77}));
    EXPECT_FALSE(procfs::parseStatus("Name:\tx\nPPid:\t1\n"));

    EXPECT_EQ(procfs::parseFdinfoWriting("pos:\t0\nflags:\t0100002\nmnt_id:\t29\n"), true);
    EXPECT_EQ(procfs::parseFdinfoWriting("pos:\t0\nflags:\t02100001\n"), true);
    EXPECT_EQ(procfs::parseFdinfoWriting("pos:\t0\nflags:\t0100000\n"), false);
    EXPECT_FALSE(procfs::parseFdinfoWriting("pos:\t0\n"));

    const auto region = procfs::parseMapsLine("7f1c2a000000-7f1c2a022000 r--p 00000000 103:02 1234   /media/a b/lib.so");
    ASSERT_TRUE(region);
    EXPECT_EQ(region->path, "/media/a b/lib.so");
    EXPECT_EQ(region->device, (0x103u << 8) | 0x02u);
    EXPECT_EQ(procfs::parseMapsLine("7f1c2a000000-7f1c2a022000 r--p 00000000 00:21 99 /x")->device, 0x21u);
    EXPECT_FALSE(procfs::parseMapsLine("7ffd1000-7ffd2000 rw-p 00000000 00:00 0          [stack]"));
    EXPECT_FALSE(procfs::parseMapsLine("7ffd1000-7ffd2000 rw-p 00000000 00:00 0"));

    EXPECT_EQ(procfs::parseMaps("1000-2000 r-xp 0 103:02 1 /lib/a.so\n2000-3000 r--p 0 103:02 1 /lib/a.so\n"
                                "3000-4000 rw-p 0 00:00 0 [heap]\n4000-5000 r--p 0 00:21 9 /x\n"),
              (std::vector<VnodeRef>{{"/lib/a.so", (0x103u << 8) | 0x02u, false}, {"/x", 0x21u, false}}));

    const std::string afterName = " 4242 4242 0 -1 4194304 100 0 0 0 0 0 0 0 20 0 1 0 63356 3133440 409";
    EXPECT_EQ(procfs::parseStat("4242 (sleep) S 1" + afterName),
              (procfs::StatFields{.state = 'S', .parentPID = 1, .startTime = 63356}));
    // The name may hold ") ".
    EXPECT_EQ(procfs::parseStat("4243 (a) R (b) Z 7" + afterName)->state, 'Z');
    EXPECT_FALSE(procfs::parseStat("4244 (cut"));
    EXPECT_FALSE(procfs::parseStat("4245 (x)"));
    EXPECT_FALSE(procfs::parseStat("4246 (x) S 1 4242 4242 0 -1")) << "no start time";

    EXPECT_EQ(procfs::withoutDeletedMark("/usr/bin/tool (deleted)"), "/usr/bin/tool");
    EXPECT_EQ(text::validUTF8("caf\xc3\xa9"), "caf\xc3\xa9");
    EXPECT_EQ(text::validUTF8("a\xff" "b"), "a\xef\xbf\xbd" "b");
}

TEST(ProcfsParsing, MakesACutCommandNameWholeFromTheCommandLine) {
    using namespace std::string_literals;
    EXPECT_EQ(procfs::wholeCommandName("tracker-miner-f", "/usr/libexec/tracker-miner-fs-3\0"s),
              "tracker-miner-fs-3");
    // A script: the interpreter first, then the script's path.
    EXPECT_EQ(procfs::wholeCommandName("localsearch-ext", "/usr/bin/python3\0/opt/localsearch-extractor-3\0-v\0"s),
              "localsearch-extractor-3");
    // Only a name of the cut length, and only a command that begins with it.
    EXPECT_EQ(procfs::wholeCommandName("nautilus", "/usr/bin/nautilus-previewer\0"s), "nautilus");
    EXPECT_EQ(procfs::wholeCommandName("Isolated Web Co", "/usr/lib/firefox/firefox\0-contentproc\0"s),
              "Isolated Web Co");
    EXPECT_EQ(procfs::wholeCommandName("tracker-miner-f", ""), "tracker-miner-f");
    EXPECT_EQ(procfs::wholeCommandName("tracker-miner-f", "tracker-miner-f\0"s), "tracker-miner-f");
}

TEST(ProcfsParsing, NamesAProgramAsItWasTyped) {
    using namespace std::string_literals;
    // The alternative's or the versioned file is not what the user knows.
    EXPECT_EQ(procfs::typedName("vim", "vim\0notes.txt\0"s), "vim");
    EXPECT_EQ(procfs::typedName("vi", "/usr/bin/vi\0"s), "vi");
    EXPECT_EQ(procfs::typedName("python3", "python3\0-m\0http.server\0"s), "python3");
    EXPECT_EQ(procfs::typedName("bash", "-bash\0"s), "-bash");
    EXPECT_EQ(procfs::typedName("gnome-terminal-", "/usr/libexec/gnome-terminal-server\0"s), "gnome-terminal-server");
    // A script its interpreter runs is known by the script.
    EXPECT_EQ(procfs::typedName("backup.sh", "/bin/bash\0./backup.sh\0"s), "backup.sh");
    // A program that rewrote its command line, or has none, tells nothing.
    EXPECT_EQ(procfs::typedName("sshd", "sshd: root@pts/0\0"s), std::nullopt);
    EXPECT_EQ(procfs::typedName("Isolated Web Co", "/usr/lib/firefox/firefox\0-contentproc\0"s), std::nullopt);
    EXPECT_EQ(procfs::typedName("kworker/0:1", ""), std::nullopt);

    EXPECT_EQ(procfs::parsePIDList("4242 4250 \n"), (std::vector<std::int32_t>{4242, 4250}));
    EXPECT_EQ(procfs::parsePIDList(""), std::vector<std::int32_t>{});
}

TEST(ProcfsSource, DatesAProcessAndNamesTheJobItRuns) {
    const ProcfsSource source;
    const kestrix::test::ChildProcess shell({"/bin/sh", "-c", "sleep 600; true"});
    std::optional<ProcessBasics> basics;
    for (int attempt = 0; attempt < 100 && !(basics && basics->job); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        basics = source.basics(shell.pid());
    }
    ASSERT_TRUE(basics);
    EXPECT_EQ(basics->name, "sh");
    EXPECT_EQ(basics->job, "sleep");
    ASSERT_TRUE(basics->startTime);
    EXPECT_EQ(basics->startTime, Signals::startTime(shell.pid()));
    const kestrix::test::ChildProcess sleeper({"/bin/sleep", "600"});
    EXPECT_FALSE(source.basics(sleeper.pid())->job) << "sleep runs nothing";
}

TEST(ProcfsSource, ReadsThisProcess) {
    const ProcfsSource source;
    const std::int32_t self = getpid();
    const std::vector<std::int32_t> pids = source.allPIDs();
    EXPECT_NE(std::find(pids.begin(), pids.end(), self), pids.end());
    EXPECT_TRUE(std::all_of(pids.begin(), pids.end(), [](std::int32_t pid) { return pid > 0; }));

    const std::optional<ProcessBasics> basics = source.basics(self);
    ASSERT_TRUE(basics);
    EXPECT_EQ(basics->uid, geteuid());
    EXPECT_EQ(basics->parentPID, getppid());
    ASSERT_TRUE(basics->executablePath);
    EXPECT_EQ(basics->name, std::filesystem::path(*basics->executablePath).filename().string());

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("procfs-test-" + std::to_string(self));
    std::filesystem::create_directories(folder);
    const std::string written = (folder / "written.txt").string();
    const std::string read = (folder / "read.txt").string();
    std::ofstream(read) << "x";
    const int writer = open(written.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    const int reader = open(read.c_str(), O_RDONLY | O_CLOEXEC);
    const int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);

    const std::optional<std::vector<VnodeRef>> files = source.openFiles(self);
    ASSERT_TRUE(files);
    const auto find = [&](const std::string& path) {
        return std::find_if(files->begin(), files->end(), [&](const VnodeRef& file) { return file.path == path; });
    };
    ASSERT_NE(find(written), files->end());
    EXPECT_TRUE(find(written)->writing);
    EXPECT_NE(find(written)->device, 0u);
    ASSERT_NE(find(read), files->end());
    EXPECT_FALSE(find(read)->writing);
    ASSERT_NE(find(folder.string()), files->end());
    EXPECT_TRUE(std::all_of(files->begin(), files->end(), [](const VnodeRef& file) { return file.path.starts_with('/'); }));

    // Told the drive, its files come back, judged by their device; other processes' are unread.
    const DriveScope scope{.devices = {find(written)->device}, .mountPaths = {folder.string()}};
    const auto onDrive = source.referencesOfEach({self, 999999999}, scope, false, false);
    ASSERT_EQ(onDrive.size(), 2u);
    ASSERT_TRUE(onDrive[0]);
    for (const std::string& path : {written, read, folder.string()}) {
        EXPECT_EQ(std::count_if(onDrive[0]->openFiles.begin(), onDrive[0]->openFiles.end(),
                                [&](const VnodeRef& file) { return file.path == path; }),
                  1)
            << path;
    }
    EXPECT_TRUE(onDrive[0]->mappedFiles.empty());
    EXPECT_FALSE(onDrive[0]->mountNamespace);
    EXPECT_FALSE(onDrive[1]);

    // Asked for, the mount namespace is the one its ns/mnt link leads to.
    struct stat ownSpace {};
    ASSERT_EQ(stat("/proc/self/ns/mnt", &ownSpace), 0);
    const auto withSpace = source.referencesOfEach({self}, scope, false, true);
    ASSERT_TRUE(withSpace.at(0));
    EXPECT_EQ(withSpace[0]->mountNamespace, std::optional<std::uint64_t>(ownSpace.st_ino));
    EXPECT_FALSE(withSpace[0]->mountNamespaceClosed);

    const std::optional<VnodeRef> current = source.currentFolder(self);
    ASSERT_TRUE(current);
    EXPECT_EQ(current->path, std::filesystem::current_path().string());
    EXPECT_FALSE(current->writing);

    const std::optional<std::vector<VnodeRef>> mapped = source.mappedFiles(self);
    ASSERT_TRUE(mapped);
    EXPECT_EQ(std::count_if(mapped->begin(), mapped->end(),
                            [&](const VnodeRef& file) { return file.path == *basics->executablePath; }),
              1);

    close(writer);
    close(reader);
    close(directory);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    std::filesystem::remove_all(folder);
}

TEST(ProcfsSource, AnswersForTheKernelAndForMissingProcesses) {
    const ProcfsSource source;
    const std::optional<ProcessBasics> kernel = source.basics(0);
    ASSERT_TRUE(kernel);
    EXPECT_EQ(*kernel, (ProcessBasics{.pid = 0, .name = "kernel_task", .uid = 0, .parentPID = 0}));
    constexpr std::int32_t gone = 999999999;
    EXPECT_FALSE(source.basics(gone));
    EXPECT_FALSE(source.openFiles(gone));
    EXPECT_FALSE(source.currentFolder(gone));
    EXPECT_FALSE(source.mappedFiles(gone));
    EXPECT_FALSE(source.basics(-4));
    EXPECT_TRUE(ProcfsSource("/nonexistent").allPIDs().empty());
}

TEST(ProcfsParsing, AnEntryNamesAProcessOnlyWhenItIsAPositivePid) {
    EXPECT_EQ(procfs::processIDOfEntry("412"), std::optional<std::int32_t>(412));
    for (const char* name : {"self", "thread-self", "0", "-4", "12a", "", "99999999999"}) {
        EXPECT_FALSE(procfs::processIDOfEntry(name)) << name;
    }
}

TEST(ProcfsParsing, ReadsANamespaceNumberOnlyFromALinkOfItsKind) {
    EXPECT_EQ(procfs::parseNamespaceLink("mnt:[4026531841]", "mnt"), std::optional<std::uint64_t>(4026531841u));
    for (const char* link : {"net:[4026531840]", "mnt:[]", "mnt:[12", "mnt:[12x]", "mnt:[-1]", "mnt[12]", "mnt:", "",
                             "mnt:[99999999999999999999]"}) {
        EXPECT_FALSE(procfs::parseNamespaceLink(link, "mnt")) << link;
    }
}
