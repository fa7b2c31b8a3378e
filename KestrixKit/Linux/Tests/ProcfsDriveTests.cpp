#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "KestrixKit/Holders/DriveCheck.h"
#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Holders/HolderPolicy.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "KestrixKit/Linux/Processes/ProcfsSource.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"

using namespace kestrix;
namespace fs = std::filesystem;

namespace {

const Holder* holderWithPID(const ScanResult& result, pid_t pid) {
    for (const Holder& holder : result.holders) {
        if (holder.pid == pid) return &holder;
    }
    return nullptr;
}

// An ext4 image loop-mounted under /media, held by real processes. Needs root.
class LoopDrive : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = loop_.skipReason()) GTEST_SKIP() << *reason;
    }

    Drive drive() const {
        struct stat status {};
        stat(mount_.c_str(), &status);
        return Drive{.id = "loop",
                     .volumes = {DriveVolume{.name = "Test", .mountPath = mount_.string(),
                                             .device = kernelDeviceNumber(status.st_dev)}}};
    }

    // Scans until every expected holder shows up (the children need a moment to get there).
    ScanResult scanUntilHeldBy(const std::vector<pid_t>& pids, bool deep) const {
        const HolderScanner scanner{.source = std::make_shared<ProcfsSource>(), .ownPID = getpid()};
        ScanResult result;
        for (int attempt = 0; attempt < 100; ++attempt) {
            result = scanner.scan(drive(), deep);
            if (std::all_of(pids.begin(), pids.end(), [&](pid_t pid) { return holderWithPID(result, pid); })) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return result;
    }

    // The loop device outlives an unmount, so that a test can mount the drive again.
    test::LoopDrive loop_{
        {.folderPrefix = "kestrix-holders", .labelPrefix = "KestrixHolders", .detachesOnUnmount = false}};
    const fs::path mount_ = loop_.mountPath();
};

}  // namespace

TEST_F(LoopDrive, ReportsShellsWritersRunnersAndMappers) {
    const std::string mount = mount_.string();
    std::ofstream(mount + "/data.bin") << "mapped contents";
    fs::copy_file("/bin/sleep", mount + "/napper");
    fs::permissions(mount + "/napper", fs::perms::owner_all);

    test::ChildProcess shellProcess({"/bin/sh", "-c", "cd " + mount + " && /bin/sleep 60"});
    test::ChildProcess writerProcess([&] { return open((mount + "/out.txt").c_str(), O_CREAT | O_WRONLY, 0644) >= 0; });
    test::ChildProcess runnerProcess({mount + "/napper", "60"});
    test::ChildProcess mapperProcess([&] {
        const int file = open((mount + "/data.bin").c_str(), O_RDONLY);
        const bool mapped = file >= 0 && mmap(nullptr, 15, PROT_READ, MAP_PRIVATE, file, 0) != MAP_FAILED;
        close(file);
        return mapped && chdir("/") == 0;
    });
    const pid_t shell = shellProcess.pid(), writer = writerProcess.pid(), runner = runnerProcess.pid(),
                mapper = mapperProcess.pid();

    const ScanResult quick = scanUntilHeldBy({shell, writer, runner}, false);
    EXPECT_FALSE(holderWithPID(quick, mapper));
    EXPECT_GT(quick.checked, 4);

    const Holder* shellHolder = holderWithPID(quick, shell);
    ASSERT_TRUE(shellHolder);
    EXPECT_EQ(shellHolder->kind, HelperKind::shell);
    EXPECT_EQ(shellHolder->holds, (std::vector<Hold>{{HoldKind::currentFolder, mount, false}}));
    EXPECT_EQ(HelperCatalog::description(*shellHolder), "A Terminal window is open in a folder on this drive.");
    EXPECT_EQ(HelperCatalog::holdLine(shellHolder->holds[0]), "Working in " + mount_.filename().string());
    EXPECT_EQ(HolderPolicy::actions(*shellHolder, 0),
              (std::vector<HolderAction>{HolderAction::endProcess, HolderAction::waitAndRetry}));

    const Holder* writerHolder = holderWithPID(quick, writer);
    ASSERT_TRUE(writerHolder);
    EXPECT_EQ(writerHolder->kind, HelperKind::commandLine);
    EXPECT_EQ(writerHolder->holds, (std::vector<Hold>{{HoldKind::openFile, mount + "/out.txt", true}}));
    EXPECT_TRUE(writerHolder->isWriting());
    EXPECT_EQ(HelperCatalog::description(*writerHolder),
              writerHolder->name + ", a command-line program, has a file open on this drive.");
    EXPECT_EQ(HelperCatalog::holdLine(writerHolder->holds[0]), "Writing to out.txt");

    const Holder* runnerHolder = holderWithPID(quick, runner);
    ASSERT_TRUE(runnerHolder);
    EXPECT_EQ(runnerHolder->name, "napper");
    EXPECT_EQ(runnerHolder->holds, (std::vector<Hold>{{HoldKind::runningFrom, mount + "/napper", false}}));
    EXPECT_EQ(HelperCatalog::holdLine(runnerHolder->holds[0]), "Running from this drive");
    EXPECT_EQ(HolderPolicy::actions(*runnerHolder, 0),
              (std::vector<HolderAction>{HolderAction::endProcess, HolderAction::waitAndRetry}));

    // The mapped file shows only in a deep scan; the runner's mapped executable is not reported twice.
    const ScanResult deep = scanUntilHeldBy({mapper}, true);
    const Holder* mapperHolder = holderWithPID(deep, mapper);
    ASSERT_TRUE(mapperHolder);
    EXPECT_EQ(mapperHolder->holds, (std::vector<Hold>{{HoldKind::mappedFile, mount + "/data.bin", false}}));
    EXPECT_EQ(HelperCatalog::holdLine(mapperHolder->holds[0]), "Still reading data.bin");
    ASSERT_TRUE(holderWithPID(deep, runner));
    EXPECT_EQ(holderWithPID(deep, runner)->holds.size(), 1u);

    // With the others gone, checking the drive falls through to the deep scan and finds the mapper.
    for (test::ChildProcess* process : {&shellProcess, &writerProcess, &runnerProcess}) process->end();
    const HolderScanner scanner{.source = std::make_shared<ProcfsSource>(), .ownPID = getpid()};
    ScanResult checked;
    for (int attempt = 0; attempt < 100; ++attempt) {
        checked = checkDrive(scanner, drive());
        if (checked.holders.size() == 1) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(checked.deep);
    ASSERT_EQ(checked.holders.size(), 1u);
    EXPECT_EQ(checked.holders[0].pid, mapper);
}

namespace {

// What the scan-time query finds of the process, asked until it finds something.
std::vector<VnodeRef> openFilesOnDrive(pid_t pid, const Drive& drive) {
    const ProcfsSource source;
    const DriveScope scope{.devices = drive.devices(), .mountPaths = drive.mountPaths()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto lists = source.referencesOfEach({pid}, scope, false, false);
        if (lists.size() == 1 && lists[0] && !lists[0]->openFiles.empty()) return lists[0]->openFiles;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return {};
}

std::vector<std::string> paths(const std::vector<VnodeRef>& files) {
    std::vector<std::string> result;
    for (const VnodeRef& file : files) result.push_back(file.path);
    return result;
}

}  // namespace

TEST_F(LoopDrive, ScanQueryKeepsExactlyThePlainRule) {
    const std::string mount = mount_.string();
    const std::string elsewhere = (fs::temp_directory_path() / ("kestrix-off-" + std::to_string(getpid()))).string();
    const test::ChildProcess holderProcess([&] {
        int ends[2];
        return open((mount + "/out.txt").c_str(), O_CREAT | O_WRONLY, 0644) >= 0 &&
               open(mount.c_str(), O_RDONLY | O_DIRECTORY) >= 0 &&
               open(elsewhere.c_str(), O_CREAT | O_RDONLY, 0644) >= 0 && pipe(ends) == 0;
    });
    const pid_t holder = holderProcess.pid();
    const std::vector<VnodeRef> fast = openFilesOnDrive(holder, drive());
    fs::remove(elsewhere);

    const std::optional<std::vector<VnodeRef>> all = ProcfsSource().openFiles(holder);
    ASSERT_TRUE(all);
    const DriveScope scope{.devices = drive().devices(), .mountPaths = drive().mountPaths()};
    std::vector<VnodeRef> expected;
    std::copy_if(all->begin(), all->end(), std::back_inserter(expected),
                 [&](const VnodeRef& file) { return scope.contains(file); });
    EXPECT_EQ(fast, expected);
    EXPECT_EQ(paths(fast), (std::vector<std::string>{mount + "/out.txt", mount}));
}

TEST_F(LoopDrive, ScanQueryFindsFilesOfMountsInsideTheDrive) {
    const fs::path inner = mount_ / "inner";
    fs::create_directories(inner);
    if (std::system(("mount -t tmpfs kestrix-inner " + inner.string()).c_str()) != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs";
    }
    const std::string file = (inner / "note.txt").string();
    const test::ChildProcess holder([&] { return open(file.c_str(), O_CREAT | O_RDWR, 0644) >= 0; });

    const std::vector<VnodeRef> found = openFilesOnDrive(holder.pid(), drive());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, file);
    EXPECT_FALSE(drive().devices().contains(found[0].device));  // found by its path alone
    EXPECT_TRUE(found[0].writing);
}

TEST_F(LoopDrive, ScanQueryFindsHoldersInAnotherMountNamespace) {
    if (std::system("unshare -m true 2>/dev/null") != 0) GTEST_SKIP() << "cannot make a mount namespace";
    const std::string file = mount_.string() + "/shared.txt";
    std::ofstream(file) << "x";
    const test::ChildProcess holder({"/usr/bin/unshare", "-m", "/bin/sh", "-c",
                                     test::unmountOtherDrivesInThisNamespace(mount_.string()) +
                                         "exec 3<\"$0\"; while :; do sleep 1; done",
                                     file});

    const std::vector<VnodeRef> found = openFilesOnDrive(holder.pid(), drive());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, file);
    EXPECT_FALSE(found[0].writing);
}

TEST_F(LoopDrive, TheFolderBeneathTheMountPointIsNotTheDrive) {
    const std::string mount = mount_.string();
    ASSERT_TRUE(test::runQuietly("umount '" + mount + "'"));
    // Entered before the drive covers the folder again.
    const test::ChildProcess beneath({"/bin/sleep", "60"}, mount);

    // Unmounted, the folder shows the device of the file system above, as a drive listed in that
    // moment would carry it: every process has files there, yet none holds the drive.
    const HolderScanner scanner{.source = std::make_shared<ProcfsSource>(), .ownPID = getpid()};
    EXPECT_TRUE(scanner.scan(drive(), false).holders.empty());
    EXPECT_TRUE(scanner.scan(drive(), true).holders.empty());

    ASSERT_TRUE(test::runQuietly("mount " + loop_.loopDevice() + " '" + mount + "'"));
    const test::ChildProcess inside({"/bin/sleep", "60"}, mount);
    const ScanResult result = scanUntilHeldBy({inside.pid()}, false);
    ASSERT_TRUE(holderWithPID(result, inside.pid()));
    EXPECT_FALSE(holderWithPID(result, beneath.pid()));
}

TEST_F(LoopDrive, TheSamePathOnAnotherFileSystemOfAnotherNamespaceIsNotTheDrive) {
    if (std::system("unshare -m true 2>/dev/null") != 0) GTEST_SKIP() << "cannot make a mount namespace";
    const std::string mount = mount_.string();
    const test::ChildProcess elsewhere({"/usr/bin/unshare", "-m", "/bin/sh", "-c",
                                        test::unmountOtherDrivesInThisNamespace(mount) +
                                            "mount -t tmpfs kestrix-other \"$0\" && cd \"$0\" && exec 3>\"$0/note.txt\" && "
                                            "while :; do sleep 1; done",
                                        mount});
    const std::string link = "/proc/" + std::to_string(elsewhere.pid()) + "/fd/3";
    std::error_code error;
    // Until the shell opens it, descriptor 3 may still be one the test runner passed on.
    for (int attempt = 0; attempt < 100 && fs::read_symlink(link, error).string() != mount + "/note.txt"; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // The other namespace's file shows a path on the drive.
    ASSERT_EQ(fs::read_symlink(link, error).string(), mount + "/note.txt");

    const test::ChildProcess inside({"/bin/sleep", "60"}, mount);
    const ScanResult result = scanUntilHeldBy({inside.pid()}, false);
    ASSERT_TRUE(holderWithPID(result, inside.pid()));
    EXPECT_FALSE(holderWithPID(result, elsewhere.pid()));
}
