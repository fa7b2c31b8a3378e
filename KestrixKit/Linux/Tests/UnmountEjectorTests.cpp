#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Linux/Ejecting/UnmountEjector.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"

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

    test::LoopDrive loop_{{.folderPrefix = "kestrix-unmount", .labelPrefix = "KestrixUnmount", .detachesOnUnmount = false}};
    const std::string mountPath_ = loop_.mountPath();
    Drive drive_;
    std::optional<test::ChildProcess> holder_;
};

}  // namespace

TEST_F(LoopMountedDrive, FreeDriveUnmountsAndDetachesItsImage) {
    EXPECT_EQ(UnmountEjector().eject(drive_, false), EjectOutcome{EjectOutcome::Ejected{}});
    EXPECT_FALSE(isMounted(mountPath_));
    EXPECT_FALSE(loop_.isAttached());
}

TEST_F(LoopMountedDrive, ShellInsideIsBusyWithoutPidUntilForced) {
    startHolder();
    EXPECT_EQ(UnmountEjector().eject(drive_, false),
              (EjectOutcome{EjectOutcome::Busy{.volume = "KestrixTest", .pid = std::nullopt, .status = DAStatus::unixBusy}}));
    EXPECT_TRUE(isMounted(mountPath_));
    EXPECT_TRUE(loop_.isAttached());

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
