#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "KestrixKit/Holders/DriveCheck.h"
#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Holders/HolderPolicy.h"
#include "KestrixKit/Linux/MountPointStatus.h"
#include "KestrixKit/Linux/ProcfsSource.h"

using namespace kestrix;
namespace fs = std::filesystem;

namespace {

std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
        pclose(pipe);
    }
    while (!output.empty() && output.back() == '\n') output.pop_back();
    return output;
}

pid_t startShell(const std::string& script) {
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);  // its own group, so that ending it also ends what it runs
        execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// A child that runs the given preparation and then waits to be killed.
template <typename Preparation>
pid_t startChild(Preparation prepare) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (!prepare()) _exit(1);
        for (;;) pause();
    }
    return pid;
}

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
        if (geteuid() != 0) GTEST_SKIP() << "needs root to loop-mount a drive";
        const std::string unique = "kestrix-holders-" + std::to_string(getpid());
        image_ = fs::temp_directory_path() / (unique + ".img");
        mount_ = fs::path("/media") / unique;
        if (std::system(("truncate -s 16M " + image_.string() + " && mkfs.ext4 -q -F " + image_.string() +
                         " >/dev/null 2>&1").c_str()) != 0) {
            GTEST_SKIP() << "cannot make an ext4 image (mkfs.ext4 missing?)";
        }
        loop_ = commandOutput("losetup -f --show " + image_.string() + " 2>/dev/null");
        fs::create_directories(mount_);
        if (loop_.empty() || std::system(("mount " + loop_ + " " + mount_.string() + " 2>/dev/null").c_str()) != 0) {
            GTEST_SKIP() << "cannot loop-mount an image here";
        }
        mounted_ = true;
    }

    void TearDown() override {
        endChildren(children_);
        for (const fs::path& inner : innerMounts_) std::system(("umount -l " + inner.string()).c_str());
        if (mounted_ && std::system(("umount " + mount_.string() + " 2>/dev/null").c_str()) != 0) {
            std::system(("umount -l " + mount_.string()).c_str());
        }
        if (!loop_.empty()) std::system(("losetup -d " + loop_).c_str());
        std::error_code ignored;
        fs::remove(mount_, ignored);
        fs::remove(image_, ignored);
    }

    static void endChildren(const std::vector<pid_t>& children) {
        for (const pid_t child : children) {
            kill(-child, SIGKILL);
            kill(child, SIGKILL);
        }
        for (const pid_t child : children) waitpid(child, nullptr, 0);
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

    fs::path image_;
    fs::path mount_;
    std::string loop_;
    bool mounted_ = false;
    std::vector<pid_t> children_;
    std::vector<fs::path> innerMounts_;
};

}  // namespace

TEST_F(LoopDrive, ReportsShellsWritersRunnersAndMappers) {
    const std::string mount = mount_.string();
    std::ofstream(mount + "/data.bin") << "mapped contents";
    fs::copy_file("/bin/sleep", mount + "/napper");
    fs::permissions(mount + "/napper", fs::perms::owner_all);

    const pid_t shell = startShell("cd " + mount + " && /bin/sleep 60");
    const pid_t writer = startChild([&] { return open((mount + "/out.txt").c_str(), O_CREAT | O_WRONLY, 0644) >= 0; });
    const pid_t runner = fork();
    if (runner == 0) {
        chdir("/");
        execl((mount + "/napper").c_str(), "napper", "60", static_cast<char*>(nullptr));
        _exit(127);
    }
    const pid_t mapper = startChild([&] {
        const int file = open((mount + "/data.bin").c_str(), O_RDONLY);
        const bool mapped = file >= 0 && mmap(nullptr, 15, PROT_READ, MAP_PRIVATE, file, 0) != MAP_FAILED;
        close(file);
        return mapped && chdir("/") == 0;
    });
    children_ = {shell, writer, runner, mapper};

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
    endChildren({shell, writer, runner});
    children_ = {mapper};
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
        const auto lists = source.openFilesOfEach({pid}, scope);
        if (lists.size() == 1 && lists[0] && !lists[0]->empty()) return *lists[0];
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
    const pid_t holder = startChild([&] {
        int ends[2];
        return open((mount + "/out.txt").c_str(), O_CREAT | O_WRONLY, 0644) >= 0 &&
               open(mount.c_str(), O_RDONLY | O_DIRECTORY) >= 0 &&
               open(elsewhere.c_str(), O_CREAT | O_RDONLY, 0644) >= 0 && pipe(ends) == 0;
    });
    children_ = {holder};
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
    innerMounts_ = {inner};
    const std::string file = (inner / "note.txt").string();
    const pid_t holder = startChild([&] { return open(file.c_str(), O_CREAT | O_RDWR, 0644) >= 0; });
    children_ = {holder};

    const std::vector<VnodeRef> found = openFilesOnDrive(holder, drive());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, file);
    EXPECT_FALSE(drive().devices().contains(found[0].device));  // found by its path alone
    EXPECT_TRUE(found[0].writing);
}

TEST_F(LoopDrive, ScanQueryFindsHoldersInAnotherMountNamespace) {
    if (std::system("unshare -m true 2>/dev/null") != 0) GTEST_SKIP() << "cannot make a mount namespace";
    const std::string file = mount_.string() + "/shared.txt";
    std::ofstream(file) << "x";
    const pid_t holder = startShell("exec unshare -m sh -c 'exec 3<\"$0\"; while :; do sleep 1; done' " + file);
    children_ = {holder};

    const std::vector<VnodeRef> found = openFilesOnDrive(holder, drive());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, file);
    EXPECT_FALSE(found[0].writing);
}
