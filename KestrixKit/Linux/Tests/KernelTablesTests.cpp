#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "KestrixKit/Linux/Kernel/LoopBackings.h"
#include "KestrixKit/Linux/Kernel/NamespaceMounts.h"
#include "KestrixKit/Linux/Kernel/ServiceCgroup.h"
#include "KestrixKit/Linux/Kernel/StackedDevices.h"
#include "KestrixKit/Linux/Kernel/SwapAreas.h"

using namespace kestrix;
namespace fs = std::filesystem;

namespace {

// A /sys laid out by hand: a disk with two partitions, an md array on the disk, a device-mapper
// device on one partition and an opened encrypted partition, and two loop devices.
class RecordedSysfs : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root);
        write("devices/pci0/sdb/dev", "8:16");
        write("devices/pci0/sdb/holders/md127", "");
        write("devices/pci0/sdb/sdb1/partition", "1");
        write("devices/pci0/sdb/sdb1/holders/dm-3", "");
        write("devices/pci0/sdb/sdb2/partition", "2");
        write("devices/pci0/sdb/sdb2/holders/dm-0", "");
        write("class/block/dm-3/dm/name", "vault\n");
        write("class/block/dm-0/dm/name", "luks-1234\n");
        write("class/block/dm-0/dm/uuid", "CRYPT-LUKS2-1234-luks-1234\n");
        write("class/block/md127/dev", "9:127");
        fs::create_directory_symlink("../../devices/pci0/sdb", root / "class/block/sdb");
        write("block/loop3/loop/backing_file", "/media/KHA/old disk.img (deleted)\n");
        write("block/loop4/dev", "7:4");
        write("block/sdb/dev", "8:16");
    }
    void TearDown() override { fs::remove_all(root); }

    void write(const fs::path& relative, const std::string& contents) const {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << contents;
    }

    const fs::path root = fs::temp_directory_path() / ("kestrix-kernel-sysfs-" + std::to_string(getpid()));
};

}  // namespace

TEST_F(RecordedSysfs, StackedDevicesAreThoseOnTheDiskAndItsPartitionsButNotItsOwnEncryption) {
    EXPECT_EQ(stackedDevices(root, "sdb", {}),
              (std::vector<StackedDevice>{{"md127", "md127"}, {"dm-3", "vault"}}));
    // An opened encrypted volume mounted as the drive's own file system is the drive.
    EXPECT_EQ(stackedDevices(root, "sdb", {"dm-3"}), (std::vector<StackedDevice>{{"md127", "md127"}}));
    EXPECT_TRUE(stackedDevices(root, "sdz", {}).empty());
    EXPECT_TRUE(stackedDevices(root, "../sdb", {}).empty());
}

TEST_F(RecordedSysfs, OnlyAttachedLoopDevicesHaveABackingFile) {
    EXPECT_EQ(readLoopBackings(root), (std::vector<LoopBacking>{{"loop3", "/media/KHA/old disk.img"}}));
    EXPECT_TRUE(readLoopBackings(root / "nothing").empty());
}

TEST(KernelTables, SwapAreasComeWithTheirPathsUnescaped) {
    const std::string swaps =
        "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n"
        "/dev/sdb2                               partition\t1048572\t\t0\t\t-2\n"
        "/media/KHB/swap\\040file                 file\t\t1020\t\t0\t\t-3\n"
        "/media/KHB/odd\\04                       file\t\t1020\t\t0\t\t-4\n"
        "   \n"
        "/lonely\n";
    EXPECT_EQ(parseSwapAreas(swaps), (std::vector<SwapArea>{{"/dev/sdb2", true},
                                                            {"/media/KHB/swap file", false},
                                                            {"/media/KHB/odd\\04", false}}));
    EXPECT_TRUE(parseSwapAreas("Filename Type Size Used Priority").empty());
    EXPECT_TRUE(parseSwapAreas("").empty());
}

TEST(KernelTables, ANamespaceOwnerIsNamedByItsServiceOrContainer) {
    EXPECT_EQ(servicecgroup::systemService("/system.slice/colord.service"), "colord.service");
    EXPECT_EQ(servicecgroup::systemService("/user.slice/user-1000.slice/user@1000.service/app.slice/x.service"),
              std::nullopt);
    EXPECT_EQ(servicecgroup::systemService("/system.slice"), std::nullopt);
    EXPECT_EQ(servicecgroup::container("/system.slice/docker-4f2a9c1be0d3aa77.scope"), "4f2a9c1be0d3");
    EXPECT_EQ(servicecgroup::container("/machine.slice/libpod-0123456789abcdef.scope/container"), "0123456789ab");
    EXPECT_EQ(servicecgroup::container("/docker/feedbeef"), "feedbeef");
    EXPECT_EQ(servicecgroup::container("/machine.slice/machine-debian.scope"), "debian");
    EXPECT_EQ(servicecgroup::container("/system.slice/docker-.scope"), std::nullopt);
    EXPECT_EQ(servicecgroup::container("/user.slice/user-1000.slice/session-2.scope"), std::nullopt);
}

TEST(KernelTables, OnlyAPrivateCopyOfAMountOutlivesTheUnmountHere) {
    const std::vector<MountEntry> ours{{.device = 0x700005, .sharedGroup = 12}};
    const MountEntry slave{.device = 0x700005, .masterGroup = 12};
    const MountEntry peer{.device = 0x700005, .sharedGroup = 12};
    const MountEntry privateCopy{.device = 0x700005};
    const MountEntry otherMaster{.device = 0x700005, .masterGroup = 13};
    EXPECT_TRUE(followsUnmountsOf(slave, ours));
    EXPECT_TRUE(followsUnmountsOf(peer, ours));
    EXPECT_FALSE(followsUnmountsOf(privateCopy, ours));
    EXPECT_FALSE(followsUnmountsOf(otherMaster, ours));
    // A private mount here passes nothing on.
    EXPECT_FALSE(followsUnmountsOf(privateCopy, {{.device = 0x700005}}));
    EXPECT_FALSE(followsUnmountsOf(slave, {}));
}
