#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "KestrixKit/Linux/DiskStacking.h"

namespace fs = std::filesystem;
using kestrix::DiskStacking::physicalDisk;
using kestrix::DiskStacking::wholeDisk;

namespace {

// A miniature sysfs: devices under devices/, class/block/ links to them, slaves/ links between them.
class LinuxDiskStacking : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kestrix-sysfs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        fs::create_directories(root / "class" / "block");
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path addDevice(const fs::path& devicePath, bool isPartition = false) {
        const fs::path folder = root / "devices" / devicePath;
        fs::create_directories(folder);
        if (isPartition) std::ofstream(folder / "partition") << "1\n";
        fs::create_symlink(fs::relative(folder, root / "class" / "block"),
                           root / "class" / "block" / devicePath.filename());
        return folder;
    }
    void stack(const std::string& upper, const std::string& lower) {
        const fs::path slaves = root / "class" / "block" / upper / "slaves";
        fs::create_directories(slaves);
        fs::create_symlink(fs::canonical(root / "class" / "block" / lower), slaves / lower);
    }

    fs::path root;
};

}  // namespace

TEST_F(LinuxDiskStacking, WholeDiskOfPartitionsDisksAndUnknownNames) {
    addDevice("pci0/usb1/sdb");
    addDevice("pci0/usb1/sdb/sdb1", true);
    addDevice("pci0/mmc0/mmcblk0");
    addDevice("pci0/mmc0/mmcblk0/mmcblk0p1", true);
    addDevice("pci0/nvme0/nvme0n1");
    addDevice("pci0/nvme0/nvme0n1/nvme0n1p2", true);
    addDevice("virtual/dm-0");
    EXPECT_EQ(wholeDisk(root, "sdb1"), "sdb");
    EXPECT_EQ(wholeDisk(root, "mmcblk0p1"), "mmcblk0");
    EXPECT_EQ(wholeDisk(root, "nvme0n1p2"), "nvme0n1");
    EXPECT_EQ(wholeDisk(root, "sdb"), "sdb");
    EXPECT_EQ(wholeDisk(root, "dm-0"), "dm-0");
    EXPECT_EQ(wholeDisk(root, "sdz9"), std::nullopt);
    EXPECT_EQ(wholeDisk(root, "../block"), std::nullopt);
    EXPECT_EQ(wholeDisk(root, ""), std::nullopt);
}

TEST_F(LinuxDiskStacking, SlavesWalkReachesThePhysicalDisk) {
    addDevice("pci0/usb1/sdc");
    addDevice("pci0/usb1/sdc/sdc1", true);
    addDevice("virtual/dm-0");  // LUKS on sdc1
    addDevice("virtual/dm-1");  // LVM volume inside the LUKS container
    stack("dm-0", "sdc1");
    stack("dm-1", "dm-0");
    EXPECT_EQ(physicalDisk(root, "dm-1"), "sdc");
    EXPECT_EQ(physicalDisk(root, "dm-0"), "sdc");
    EXPECT_EQ(physicalDisk(root, "sdc"), std::nullopt);
    EXPECT_EQ(physicalDisk(root, "unknown"), std::nullopt);
}

TEST_F(LinuxDiskStacking, SlavesWalkPicksTheFirstMemberAndGivesUpOnLoops) {
    addDevice("pci0/ata1/sda");
    addDevice("pci0/ata2/sdb");
    addDevice("virtual/md0");
    stack("md0", "sdb");
    stack("md0", "sda");
    EXPECT_EQ(physicalDisk(root, "md0"), "sda");

    addDevice("virtual/dm-5");
    addDevice("virtual/dm-6");
    stack("dm-5", "dm-6");
    stack("dm-6", "dm-5");
    EXPECT_EQ(physicalDisk(root, "dm-5"), std::nullopt);
}
