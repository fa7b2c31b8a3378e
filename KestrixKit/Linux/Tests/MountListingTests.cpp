#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <algorithm>

#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "KestrixKit/Linux/Mounts/MountTableVolumeSource.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Tests/Support/ScopedMount.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"
#include "KestrixKit/Volumes/VolumeList.h"

using namespace kestrix;
using kestrix::test::ScopedMount;
using kestrix::test::uniqueMediaFolder;

namespace {

// This machine's drive list, disk images included, around a loop-mounted image under /media.
class MountListing : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = loop_.skipReason()) GTEST_SKIP() << *reason;
    }

    static std::vector<Drive> drives() { return VolumeList::drives(MountTableVolumeSource(), {.diskImages = true}); }

    static std::optional<DriveVolume> volumeAt(const std::string& path) {
        for (const Drive& drive : drives()) {
            for (const DriveVolume& volume : drive.volumes) {
                if (volume.mountPath == path) return volume;
            }
        }
        return std::nullopt;
    }

    static std::uint32_t deviceOf(const std::string& path) {
        struct stat status {};
        stat(path.c_str(), &status);
        return kernelDeviceNumber(status.st_dev);
    }

    test::LoopDrive loop_{{.folderPrefix = "kestrix-listing", .labelPrefix = "KestrixListing", .detachesOnUnmount = false}};
    const std::string mountPath_ = loop_.mountPath();
    const std::string deviceName_ = loop_.loopDevice().substr(5);
};

}  // namespace

TEST_F(MountListing, OnlyTheVisibleMountAtAFolderIsAVolumeAndATmpfsIsNoDrive) {
    ASSERT_EQ(volumeAt(mountPath_).value_or(DriveVolume{}).bsdName, deviceName_);
    {
        const ScopedMount scratch("kestrix", uniqueMediaFolder("kestrix-scratch"), "tmpfs");
        ASSERT_TRUE(scratch.isMounted());
        EXPECT_EQ(volumeAt(scratch.folder()), std::nullopt);
        // Covered by a tmpfs, the drive is out of reach, and the tmpfs is no drive to eject.
        const ScopedMount cover("kestrix", mountPath_, "tmpfs");
        ASSERT_TRUE(cover.isMounted());
        EXPECT_EQ(volumeAt(mountPath_), std::nullopt);
    }
    test::LoopDrive other{{.folderPrefix = "kestrix-cover", .labelPrefix = "KestrixCover", .detachesOnUnmount = false}};
    if (const auto& reason = other.skipReason()) GTEST_SKIP() << *reason;
    const ScopedMount cover(other.loopDevice(), mountPath_, "ext4");
    ASSERT_TRUE(cover.isMounted());
    // The folder now shows the other drive: one volume there, with that drive's device and name.
    const std::optional<DriveVolume> shown = volumeAt(mountPath_);
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->bsdName, other.loopDevice().substr(5));
    EXPECT_EQ(shown->device, deviceOf(other.mountPath()));
    EXPECT_EQ(shown->name, other.name());
    for (const Drive& drive : drives()) EXPECT_NE(drive.id, deviceName_) << "the covered drive is listed";
}

TEST_F(MountListing, ABindMountIsTheSameFileSystemCountedOnce) {
    const ScopedMount bind(mountPath_, uniqueMediaFolder("kestrix-bind"), "", MS_BIND);
    ASSERT_TRUE(bind.isMounted());
    const std::vector<Drive> listed = drives();
    const auto drive = std::find_if(listed.begin(), listed.end(), [&](const Drive& each) { return each.id == deviceName_; });
    ASSERT_NE(drive, listed.end());
    ASSERT_EQ(drive->mountPaths(), (std::vector<std::string>{mountPath_, bind.folder()}));
    EXPECT_EQ(drive->totalBytes(), drive->volumes[0].totalBytes);
    EXPECT_GT(drive->totalBytes(), 0u);
}

TEST_F(MountListing, TheLabelIsReadFromTheDeviceNotFromAnOutdatedRecord) {
    // Relabelled behind udev's back: whatever udev's database holds, if anything, is stale now.
    const std::string label = "Relabel" + loop_.name().substr(loop_.name().size() - 6);
    ASSERT_TRUE(test::runQuietly("e2label " + loop_.loopDevice() + " " + label));
    EXPECT_EQ(volumeAt(mountPath_).value_or(DriveVolume{}).name, label);
}
