#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Linux/UnmountEjector.h"

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

bool isMounted(const std::string& path) {
    std::ifstream mounts("/proc/self/mountinfo");
    for (std::string line; std::getline(mounts, line);) {
        if (line.find(" " + path + " ") != std::string::npos) return true;
    }
    return false;
}

// An ext4 image on a loop device, mounted under /media; everything is undone afterwards.
class LoopMountedDrive : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "unmounting a loop-mounted image needs root";
        const std::string unique = "kestrix-" + std::to_string(getpid()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
        image_ = fs::temp_directory_path() / (unique + ".img");
        mountPath_ = "/media/" + unique;
        if (std::system(("truncate -s 16M " + image_.string() + " && mkfs.ext4 -q " + image_.string()).c_str()) != 0) {
            GTEST_SKIP() << "could not make an ext4 image (mkfs.ext4 missing?)";
        }
        loop_ = commandOutput("losetup -f --show " + image_.string() + " 2>/dev/null");
        fs::create_directories(mountPath_);
        if (!loop_.starts_with("/dev/loop") || std::system(("mount " + loop_ + " " + mountPath_).c_str()) != 0) {
            GTEST_SKIP() << "could not loop-mount an image here (no loop devices?)";
        }
        const std::string name = loop_.substr(5);
        drive_ = Drive{.id = name, .volumes = {DriveVolume{.name = "KestrixTest", .mountPath = mountPath_, .bsdName = name,
                                                          .wholeDisk = name, .physicalDisk = name, .fileSystem = "ext4"}}};
    }

    void TearDown() override {
        if (holder_ > 0) {
            // The whole group, so that no sleep outlives the test holding its output open.
            kill(-holder_, SIGKILL);
            waitpid(holder_, nullptr, 0);
        }
        if (!mountPath_.empty()) {
            std::system(("umount -l " + mountPath_ + "/inner " + mountPath_ + " 2>/dev/null").c_str());
            std::error_code error;
            fs::remove_all(mountPath_, error);
        }
        if (!loop_.empty()) std::system(("losetup -d " + loop_ + " 2>/dev/null").c_str());
        if (!image_.empty()) fs::remove(image_);
    }

    bool isAttached() const { return !commandOutput("losetup -j " + image_.string()).empty(); }

    // A shell sitting in the mounted folder, as a terminal window would.
    void startHolder() {
        const std::string script = "cd " + mountPath_ + " && sleep 60";
        holder_ = fork();
        ASSERT_GE(holder_, 0);
        if (holder_ == 0) {
            setpgid(0, 0);
            execl("/bin/sh", "sh", "-c", script.c_str(), nullptr);
            _exit(127);
        }
        for (int attempt = 0; attempt < 200; ++attempt) {
            std::error_code error;
            if (fs::read_symlink("/proc/" + std::to_string(holder_) + "/cwd", error) == mountPath_) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        FAIL() << "the shell did not enter " << mountPath_;
    }

    fs::path image_;
    std::string mountPath_;
    std::string loop_;
    Drive drive_;
    pid_t holder_ = -1;
};

}  // namespace

TEST_F(LoopMountedDrive, FreeDriveUnmountsAndDetachesItsImage) {
    EXPECT_EQ(UnmountEjector().eject(drive_, false), EjectOutcome{EjectOutcome::Ejected{}});
    EXPECT_FALSE(isMounted(mountPath_));
    EXPECT_FALSE(isAttached());
}

TEST_F(LoopMountedDrive, ShellInsideIsBusyWithoutPidUntilForced) {
    startHolder();
    EXPECT_EQ(UnmountEjector().eject(drive_, false),
              (EjectOutcome{EjectOutcome::Busy{.volume = "KestrixTest", .pid = std::nullopt, .status = DAStatus::unixBusy}}));
    EXPECT_TRUE(isMounted(mountPath_));
    EXPECT_TRUE(isAttached());

    EXPECT_EQ(UnmountEjector().eject(drive_, true), EjectOutcome{EjectOutcome::Ejected{}});
    EXPECT_FALSE(isMounted(mountPath_));
}

TEST_F(LoopMountedDrive, FileSystemMountedInsideKeepsItBusy) {
    fs::create_directories(mountPath_ + "/inner");
    ASSERT_EQ(std::system(("mount -t tmpfs kestrix-inner " + mountPath_ + "/inner").c_str()), 0);
    const EjectOutcome outcome = UnmountEjector().eject(drive_, false);
    ASSERT_TRUE(outcome.is<EjectOutcome::Busy>());
    EXPECT_EQ(outcome.as<EjectOutcome::Busy>()->status, DAStatus::unixBusy);
    EXPECT_TRUE(isMounted(mountPath_ + "/inner"));
}
