#include <gtest/gtest.h>

#include <sys/mount.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <thread>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Linux/Ejecting/UnmountEjector.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Tests/Support/ScopedMount.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"

using namespace kestrix;
using kestrix::test::isMounted;
namespace fs = std::filesystem;

namespace {

// A loop-mounted image whose loop device stays attached until the ejector detaches it.
class LoopMountedDrive : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = loop_.skipReason()) GTEST_SKIP() << *reason;
        const std::string name = loop_.loopDevice().substr(5);
        drive_ = Drive{.id = name, .volumes = {DriveVolume{.name = "KestrixTest", .mountPath = mountPath_, .bsdName = name,
                                                          .wholeDisk = name, .physicalDisk = name, .fileSystem = "ext4"}}};
    }

    // A shell sitting in the mounted folder, as a terminal window would.
    void startHolder() { holder_.emplace(std::vector<std::string>{"/bin/sh", "-c", "sleep 60"}, mountPath_); }

    // The kernel may finish taking the loop device down a moment after the eject returns.
    bool loopIsDetached() const {
        for (int attempt = 0; attempt < 250 && loop_.isAttached(); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return !loop_.isAttached();
    }

    test::LoopDrive loop_{{.folderPrefix = "kestrix-unmount", .labelPrefix = "KestrixUnmount", .detachesOnUnmount = false}};
    const std::string mountPath_ = loop_.mountPath();
    Drive drive_;
    std::optional<test::ChildProcess> holder_;
};

}  // namespace

TEST_F(LoopMountedDrive, FreeDriveUnmountsAndDetachesItsImage) {
    EXPECT_EQ(UnmountEjector().eject(drive_, false), EjectOutcome{EjectOutcome::Ejected{}});
    EXPECT_FALSE(isMounted(mountPath_));
    EXPECT_TRUE(loopIsDetached());
}

TEST_F(LoopMountedDrive, ShellInsideIsBusyWithoutPidUntilForced) {
    startHolder();
    EXPECT_EQ(UnmountEjector().eject(drive_, false),
              (EjectOutcome{EjectOutcome::Busy{.volume = "KestrixTest", .pid = std::nullopt, .status = DAStatus::unixBusy}}));
    EXPECT_TRUE(isMounted(mountPath_));
    EXPECT_TRUE(loop_.isAttached());

    // Forced, the file system is detached and lives on while the shell sits in it: the device
    // stays until it is released, and goes with the first eject after that.
    EXPECT_EQ(UnmountEjector().eject(drive_, true), EjectOutcome{EjectOutcome::Detached{}});
    EXPECT_FALSE(isMounted(mountPath_));
    EXPECT_TRUE(loop_.isAttached());
    holder_->end();
    EjectOutcome released{EjectOutcome::Detached{}};
    // The ended holder's last reference may go a moment after it is reaped.
    for (int attempt = 0; attempt < 500 && released.is<EjectOutcome::Detached>(); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        released = UnmountEjector().eject(drive_, false);
    }
    EXPECT_EQ(released, EjectOutcome{EjectOutcome::Ejected{}});
    EXPECT_TRUE(loopIsDetached());
}

TEST_F(LoopMountedDrive, FileSystemMountedInsideKeepsItBusy) {
    fs::create_directories(mountPath_ + "/inner");
    ASSERT_EQ(std::system(("mount -t tmpfs kestrix-inner " + mountPath_ + "/inner").c_str()), 0);
    const EjectOutcome outcome = UnmountEjector().eject(drive_, false);
    ASSERT_TRUE(outcome.is<EjectOutcome::Busy>());
    EXPECT_EQ(outcome.as<EjectOutcome::Busy>()->status, DAStatus::unixBusy);
    EXPECT_TRUE(isMounted(mountPath_ + "/inner"));
}

TEST_F(LoopMountedDrive, AnotherDriveMountedInsideIsNeverTakenAlong) {
    test::LoopDrive other{{.folderPrefix = "kestrix-nested", .labelPrefix = "KestrixNested", .detachesOnUnmount = false}};
    if (const auto& reason = other.skipReason()) GTEST_SKIP() << *reason;
    // Mounted a second time, in a folder of this drive whose name is not its label.
    const test::ScopedMount nested(other.loopDevice(), mountPath_ + "/nested", "ext4");
    ASSERT_TRUE(nested.isMounted());
    const std::string otherName = other.name();
    for (const bool force : {false, true}) {
        EXPECT_EQ(UnmountEjector().eject(drive_, force),
                  (EjectOutcome{EjectOutcome::Failed{.volume = "KestrixTest", .status = DAStatus::unixBusy,
                                                     .message = otherName + " is mounted inside it; eject " + otherName +
                                                                " first"}}))
            << "force " << force;
        EXPECT_TRUE(isMounted(nested.folder()));
        EXPECT_TRUE(isMounted(mountPath_));
    }
    EXPECT_TRUE(other.isAttached());
    EXPECT_TRUE(loop_.isAttached());
}

TEST_F(LoopMountedDrive, TheLoopDeviceGoesWithTheLastMountWhenTheEjectStopsShort) {
    startHolder();
    ASSERT_TRUE(UnmountEjector().eject(drive_, false).is<EjectOutcome::Busy>());
    // Unmounted by someone else once the holder is gone, as when the ejector is killed between
    // its unmount and the detach: the kernel detaches the image by itself.
    holder_->end();
    // The ended holder's last reference to the drive may go a moment after it is reaped.
    bool unmounted = false;
    for (int attempt = 0; attempt < 50 && !(unmounted = test::runQuietly("umount '" + mountPath_ + "'")); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(unmounted);
    for (int attempt = 0; attempt < 50 && loop_.isAttached(); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(loop_.isAttached());
}

TEST_F(LoopMountedDrive, AnUnreadableSysfsEntryIsUnmountedOnlyNotEjected) {
    const fs::path sysfs = fs::temp_directory_path() / ("kestrix-sysfs-" + loop_.name());
    // The device's number cannot be read, so what it is stays unknown.
    fs::create_directories(sysfs / "class/block" / drive_.id / "dev");
    const EjectOutcome outcome = UnmountEjector({.sysfsRoot = sysfs}).eject(drive_, false);
    fs::remove_all(sysfs);
    EXPECT_EQ(outcome, EjectOutcome{EjectOutcome::UnmountedOnly{}});
    EXPECT_FALSE(isMounted(mountPath_));
    EXPECT_TRUE(loop_.isAttached());
}

// Root without the disk service: a disk image on the drive is detached by the kernel's own call,
// swap on a device stopped, and nothing else is touched, whatever a holder names.
TEST_F(LoopMountedDrive, TheKernelDetachesAnImageAndStopsSwapButTouchesNoOtherDevice) {
    const std::string file = mountPath_ + "/disk.img";
    ASSERT_TRUE(test::runQuietly("truncate -s 4M '" + file + "'"));
    const std::string device = test::commandOutput("losetup -f --show '" + file + "' 2>/dev/null");
    if (device.empty()) GTEST_SKIP() << "cannot attach a second loop device";
    const std::string backing = "/sys/block/" + device.substr(5) + "/loop/backing_file";
    UnmountEjector ejector;

    // The drive's own device is no disk image to detach, nor a swap file's path a device.
    EXPECT_FALSE(ejector.release({.kind = KernelHoldKind::swapArea, .name = file, .device = ""}).released);
    EXPECT_FALSE(ejector.release({.kind = KernelHoldKind::diskImage, .name = file, .device = "/dev/../" + device.substr(5)}).released);
    EXPECT_FALSE(ejector.release({.kind = KernelHoldKind::stackedDevice, .name = "x", .device = device}).released);
    EXPECT_TRUE(fs::exists(backing));

    if (test::runQuietly("mkswap " + device + " && swapon " + device)) {
        const ReleaseOutcome stopped = ejector.release({.kind = KernelHoldKind::swapArea, .name = device, .device = device});
        EXPECT_TRUE(stopped.released) << stopped.message.value_or("");
        EXPECT_EQ(test::commandOutput("grep -c '^" + device + " ' /proc/swaps"), "0");
        test::runQuietly("swapoff " + device);
    } else {
        std::cout << "swap skipped: the kernel refuses swapon of " << device << "\n";
    }

    const ReleaseOutcome detached = ejector.release({.kind = KernelHoldKind::diskImage, .name = file, .device = device});
    EXPECT_TRUE(detached.released) << detached.message.value_or("");
    for (int attempt = 0; attempt < 250 && fs::exists(backing); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (fs::exists(backing)) test::runQuietly("losetup -d " + device);
    EXPECT_FALSE(fs::exists(backing)) << device << " is still attached";
}
