#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "KestrixKit/Linux/BlockDevices/BlockDevices.h"
#include "KestrixKit/Linux/Mounts/DiskMounts.h"
#include "KestrixKit/Linux/Ejecting/EjectTargetSysfs.h"

using namespace kestrix;
namespace fs = std::filesystem;

namespace {

// A disk sdb with two partitions, an encrypted device on the second, a loop device and a disk
// that holds nothing of sdb.
const std::vector<BlockDevice> devices = {
    {.name = "sdb", .deviceNumber = "8:16", .partitions = {"sdb1", "sdb2"}, .slaves = {}},
    {.name = "sdb1", .deviceNumber = "8:17", .partitions = {}, .slaves = {}},
    {.name = "sdb2", .deviceNumber = "8:18", .partitions = {}, .slaves = {}},
    {.name = "dm-0", .deviceNumber = "253:0", .partitions = {}, .slaves = {"sdb2"}},
    {.name = "sda", .deviceNumber = "8:0", .partitions = {"sda1"}, .slaves = {}},
};

MountEntry mount(std::string point, std::string source, std::string number) {
    return {.mountPoint = std::move(point), .source = std::move(source), .deviceNumber = std::move(number)};
}

class TemporaryFolder {
public:
    TemporaryFolder() {
        path_ = fs::temp_directory_path() / ("kestrix-sysfs-" + std::to_string(getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(path_);
    }
    ~TemporaryFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }
    void write(const fs::path& relative, const std::string& contents) const {
        fs::create_directories((path_ / relative).parent_path());
        std::ofstream(path_ / relative) << contents;
    }

private:
    fs::path path_;
};

}  // namespace

TEST(DiskMounts, DevicesOnADiskIncludePartitionsAndWhatIsStackedOnThem) {
    EXPECT_EQ(DiskMounts::devicesOn("sdb", devices), (std::set<std::string>{"sdb", "sdb1", "sdb2", "dm-0"}));
    EXPECT_EQ(DiskMounts::devicesOn("sdz", devices), (std::set<std::string>{"sdz"}));
}

TEST(DiskMounts, UnmountOrderGoesDeepestFirstAndLeavesOtherDisksAlone) {
    const std::vector<MountEntry> mounts = {
        mount("/media/me/Photos", "/dev/sdb1", "8:17"),
        mount("/media/me/Photos/inner", "/dev/mapper/secret", "253:0"),
        mount("/media/me/Photos/inner/deeper", "/dev/sda", "8:0"),
        mount("/media/me/Btrfs", "/dev/sdb2", "0:52"),
        mount("/media/me/Photos", "/dev/sdb1", "8:17"),
        mount("/run/other", "tmpfs", "0:30"),
    };
    EXPECT_EQ(DiskMounts::unmountOrder("sdb", {"/media/me/Photos"}, devices, mounts),
              (std::vector<std::string>{"/media/me/Photos/inner", "/media/me/Photos", "/media/me/Btrfs", "/media/me/Photos"}));
    // The drive's own mount points go even when the device tables do not know the disk.
    EXPECT_EQ(DiskMounts::unmountOrder("sdq", {"/run/other", "/media/gone"}, devices, mounts),
              std::vector<std::string>{"/run/other"});
}

TEST(DiskMounts, AnotherDriveInsideIsFoundButOwnMountsAndDevicelessOnesAreNot) {
    const Drive drive{.id = "sdb", .volumes = {DriveVolume{.name = "Photos", .mountPath = "/media/me/Photos",
                                                          .bsdName = "sdb1", .wholeDisk = "sdb", .device = 0x811}}};
    auto inside = [&](const std::vector<MountEntry>& mounts) {
        const std::optional<MountEntry> found = DiskMounts::otherDriveInside(drive, devices, mounts);
        return found ? found->mountPoint : "none";
    };
    const MountEntry photos = mount("/media/me/Photos", "/dev/sdb1", "8:17");
    MountEntry scratch = mount("/media/me/Photos/scratch", "tmpfs", "0:40");
    scratch.fileSystem = "tmpfs";
    const MountEntry ownEncrypted = mount("/media/me/Photos/secret", "/dev/mapper/secret", "253:0");
    MountEntry ownBind = mount("/media/me/Photos/again", "/dev/sdb1", "8:17");
    ownBind.device = 0x811;
    EXPECT_EQ(inside({photos, scratch, ownEncrypted, ownBind, mount("/media/me/Photosynth/x", "/dev/sda", "8:0")}),
              "none");
    EXPECT_EQ(inside({photos, scratch, mount("/media/me/Photos/scratch/disk", "/dev/sda", "8:0")}),
              "/media/me/Photos/scratch/disk");
    MountEntry share = mount("/media/me/Photos/share", "server:/export", "0:52");
    share.fileSystem = "nfs4";
    EXPECT_EQ(inside({photos, share}), "/media/me/Photos/share");
}

TEST(EjectTargetFacts, MethodFollowsTheKindOfDevice) {
    EXPECT_EQ(EjectTargetFacts{}.method(), EjectMethod::nothingToEject);
    EXPECT_EQ((EjectTargetFacts{.isBlockDevice = true, .isLoop = true}).method(), EjectMethod::detachLoop);
    EXPECT_EQ((EjectTargetFacts{.isBlockDevice = true, .isOptical = true, .canDelete = true}).method(), EjectMethod::ejectMedia);
    EXPECT_EQ((EjectTargetFacts{.isBlockDevice = true, .canDelete = true, .isHotPluggable = true}).method(),
              EjectMethod::powerOff);
    // A fixed disk is never removed from the kernel, and a card slot cannot be.
    EXPECT_EQ((EjectTargetFacts{.isBlockDevice = true, .canDelete = true}).method(), EjectMethod::unsupported);
}

TEST(LinuxSysfs, ReadsBlockDevicesAndEjectTargets) {
    const TemporaryFolder sysfs;
    sysfs.write("class/block/sdb/dev", "8:16\n");
    sysfs.write("class/block/sdb/removable", "1\n");
    sysfs.write("class/block/sdb/device/delete", "");
    sysfs.write("class/block/sdb/sdb1/partition", "1\n");
    sysfs.write("class/block/dm-0/dev", "253:0\n");
    sysfs.write("class/block/dm-0/slaves/sdb1", "");
    sysfs.write("class/block/loop3/dev", "7:3\n");
    sysfs.write("class/block/sr0/dev", "11:0\n");
    sysfs.write("class/block/sr0/device/type", "5\n");
    sysfs.write("class/block/sdd/dev", "8:48\n");
    sysfs.write("class/block/sdd/device/delete", "");
    std::vector<BlockDevice> read = readBlockDevices(sysfs.path());
    std::sort(read.begin(), read.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    ASSERT_EQ(read.size(), 5u);
    EXPECT_EQ(read[0], (BlockDevice{.name = "dm-0", .deviceNumber = "253:0", .partitions = {}, .slaves = {"sdb1"}}));
    EXPECT_EQ(read[2], (BlockDevice{.name = "sdb", .deviceNumber = "8:16", .partitions = {"sdb1"}, .slaves = {}}));

    EXPECT_EQ(readEjectTargetFacts(sysfs.path(), "loop3").method(), EjectMethod::detachLoop);
    EXPECT_EQ(readEjectTargetFacts(sysfs.path(), "sr0").method(), EjectMethod::ejectMedia);
    EXPECT_EQ(readEjectTargetFacts(sysfs.path(), "sdb").method(), EjectMethod::powerOff);
    EXPECT_EQ(readEjectTargetFacts(sysfs.path(), "sdd").method(), EjectMethod::unsupported);
    EXPECT_EQ(readEjectTargetFacts(sysfs.path(), "sdz").method(), EjectMethod::nothingToEject);
    // A device whose files cannot be read is not gone: what it is stays unknown.
    fs::create_directories(sysfs.path() / "class/block/sdx/dev");
    EXPECT_EQ(readEjectTargetFacts(sysfs.path(), "sdx").method(), EjectMethod::unsupported);
}
