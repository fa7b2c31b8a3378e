#include <gtest/gtest.h>

#include "UDisks2/UDisks2Topology.h"

using namespace kestrix;
using UDisks2Topology::EjectStep;

namespace {

UDisks2Objects machine() {
    return UDisks2Objects{
        .blocks = {UDisks2Block{.path = "/b/sdx", .device = "/dev/sdx", .drive = "/d/stick"},
                   UDisks2Block{.path = "/b/sdx1", .device = "/dev/sdx1", .drive = "/d/stick",
                                .partitionTable = "/b/sdx", .isEncrypted = true},
                   UDisks2Block{.path = "/b/dm_2d0", .device = "/dev/dm-0", .preferredDevice = "/dev/mapper/luks-1",
                                .cryptoBackingDevice = "/b/sdx1",
                                .mountPoints = std::vector<std::string>{"/media/u/Photos"}, .isEncrypted = true},
                   UDisks2Block{.path = "/b/dm_2d1", .device = "/dev/dm-1", .cryptoBackingDevice = "/b/dm_2d0",
                                .mountPoints = std::vector<std::string>{"/media/u/Photos/Inner"}},
                   UDisks2Block{.path = "/b/sdx2", .device = "/dev/sdx2", .symlinks = {"/dev/disk/by-label/Backup"},
                                .deviceNumber = 0x812, .drive = "/d/stick", .partitionTable = "/b/sdx",
                                .mountPoints = std::vector<std::string>{}},
                   UDisks2Block{.path = "/b/sr0", .device = "/dev/sr0", .drive = "/d/dvd"},
                   UDisks2Block{.path = "/b/mmcblk0", .device = "/dev/mmcblk0", .drive = "/d/card"},
                   UDisks2Block{.path = "/b/nvme0n1", .device = "/dev/nvme0n1", .drive = "/d/ssd"},
                   UDisks2Block{.path = "/b/loop3", .device = "/dev/loop3", .isLoop = true},
                   UDisks2Block{.path = "/b/orphan", .device = "/dev/dm-7", .drive = "/d/vanished"}},
        .drives = {UDisks2Drive{.path = "/d/stick", .canPowerOff = true},
                   UDisks2Drive{.path = "/d/dvd", .canPowerOff = true, .isEjectable = true, .isOptical = true},
                   UDisks2Drive{.path = "/d/card", .isEjectable = true},
                   UDisks2Drive{.path = "/d/ssd"}}};
}

std::string pathOf(const UDisks2Block* block) { return block ? block->path : "none"; }

}  // namespace

TEST(UDisks2Topology, VolumesAreFoundByNameLinkMountPointOrDeviceNumber) {
    const UDisks2Objects objects = machine();
    EXPECT_EQ(pathOf(UDisks2Topology::blockNamed(objects, "mapper/luks-1")), "/b/dm_2d0");
    EXPECT_EQ(pathOf(UDisks2Topology::blockNamed(objects, "mapper!luks-1")), "/b/dm_2d0");
    EXPECT_EQ(pathOf(UDisks2Topology::blockNamed(objects, "disk/by-label/Backup")), "/b/sdx2");
    EXPECT_EQ(pathOf(UDisks2Topology::blockNamed(objects, "sdx3")), "none");
    // A file system mounted from an image path names no device; its mount point or number does.
    EXPECT_EQ(pathOf(UDisks2Topology::blockOf(objects, {.mountPath = "/media/u/Photos/Inner", .bsdName = "x.img"})),
              "/b/dm_2d1");
    EXPECT_EQ(pathOf(UDisks2Topology::blockOf(objects, {.mountPath = "/mnt/elsewhere", .device = 0x812})), "/b/sdx2");
    EXPECT_EQ(pathOf(UDisks2Topology::blockOf(objects, {.mountPath = "/mnt/elsewhere"})), "none");
}

TEST(UDisks2Topology, WholeDiskCoversPartitionsAndContainersDeepestMountFirst) {
    const UDisks2Objects objects = machine();
    const DriveVolume backup{.name = "Backup", .mountPath = "/media/u/Backup", .bsdName = "sdx2", .wholeDisk = "sdx"};
    EXPECT_EQ(UDisks2Topology::fileSystemsToUnmount(objects, {UnmountKey::of(backup), backup}),
              (std::vector<std::string>{"/b/dm_2d1", "/b/dm_2d0"}));
    const DriveVolume gone{.name = "Gone", .mountPath = "/media/u/Gone", .bsdName = "sdz1", .wholeDisk = "sdz"};
    EXPECT_EQ(UDisks2Topology::fileSystemsToUnmount(objects, {UnmountKey::of(gone), gone}), std::nullopt);
    EXPECT_EQ(UDisks2Topology::containersToLock(objects, *objects.block("/b/sdx")),
              (std::vector<std::string>{"/b/dm_2d0", "/b/sdx1"}));
}

TEST(UDisks2Topology, EjectStepFitsTheDevice) {
    const UDisks2Objects objects = machine();
    const auto step = [&](const std::string& path) { return UDisks2Topology::ejectStep(objects, objects.block(path)); };
    EXPECT_EQ(step("/b/loop3"), (EjectStep{EjectMethod::detachLoop, "/b/loop3"}));
    // A USB disc drive could be powered off, but the disc is what the user wants out.
    EXPECT_EQ(step("/b/sr0"), (EjectStep{EjectMethod::ejectMedia, "/d/dvd"}));
    // An opened container has no drive; the partition beneath it leads to the stick.
    EXPECT_EQ(step("/b/dm_2d0"), (EjectStep{EjectMethod::powerOff, "/d/stick"}));
    EXPECT_EQ(step("/b/mmcblk0"), (EjectStep{EjectMethod::ejectMedia, "/d/card"}));
    EXPECT_EQ(step("/b/nvme0n1").method, EjectMethod::unsupported);
    EXPECT_EQ(step("/b/orphan").method, EjectMethod::unsupported);
    EXPECT_EQ(step("/b/none").method, EjectMethod::nothingToEject);
}
