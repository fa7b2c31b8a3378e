#include <gtest/gtest.h>
#include <umockdev.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "KestrixKit/Linux/MountTableVolumeSource.h"
#include "KestrixKit/Volumes/VolumeList.h"

namespace fs = std::filesystem;
using kestrix::Drive;
using kestrix::MountedVolume;
using kestrix::MountPointStatus;
using kestrix::MountTableVolumeSource;
using kestrix::VolumeKind;

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

bool isPreloaded() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload != nullptr && std::string_view(preload).find("libumockdev-preload") != std::string_view::npos;
}

// The hardware behind devices.mountinfo, built in a umockdev test bed.
class MockedMachine : public ::testing::Test {
protected:
    void SetUp() override {
        if (!isPreloaded()) GTEST_SKIP() << "needs the umockdev preload; run through umockdev-wrapper";
        testbed = umockdev_testbed_new();
        root = umockdev_testbed_get_root_dir(testbed);
        buildMachine();
    }
    void TearDown() override {
        if (testbed != nullptr) g_object_unref(testbed);
    }

    std::string addDevice(const char* subsystem, const std::string& name, const std::string& parent,
                          const Pairs& attributes, Pairs properties) {
        std::vector<gchar*> attributeList;
        for (const auto& [key, value] : attributes) {
            attributeList.push_back(const_cast<gchar*>(key.c_str()));
            attributeList.push_back(const_cast<gchar*>(value.c_str()));
        }
        attributeList.push_back(nullptr);
        std::vector<gchar*> propertyList;
        for (const auto& [key, value] : properties) {
            propertyList.push_back(const_cast<gchar*>(key.c_str()));
            propertyList.push_back(const_cast<gchar*>(value.c_str()));
        }
        propertyList.push_back(nullptr);
        gchar* path = umockdev_testbed_add_devicev(testbed, subsystem, name.c_str(),
                                                   parent.empty() ? nullptr : parent.c_str(), attributeList.data(),
                                                   propertyList.data());
        std::string result = path;
        g_free(path);
        return result;
    }

    // A block device with its number registered where libudev looks devices up by number.
    std::string addBlock(const std::string& name, const std::string& parent, int major, int minor,
                         Pairs attributes, Pairs properties) {
        const std::string number = std::to_string(major) + ":" + std::to_string(minor);
        attributes.emplace_back("dev", number);
        properties.emplace_back("MAJOR", std::to_string(major));
        properties.emplace_back("MINOR", std::to_string(minor));
        const std::string path = addDevice("block", name, parent, attributes, properties);
        fs::create_directories(root / "sys/dev/block");
        fs::create_symlink(fs::path("../..") / fs::path(path).lexically_relative("/sys"), root / "sys/dev/block" / number);
        return path;
    }

    std::string addPartition(const std::string& name, const std::string& disk, int major, int minor, Pairs properties) {
        properties.emplace_back("DEVTYPE", "partition");
        return addBlock(name, disk, major, minor, {{"partition", "1"}}, properties);
    }

    void buildMachine() {
        const std::string pci = addDevice("pci", "pci0000:00", "", {}, {});
        const std::string virtio = addDevice("virtio", "virtio2", pci, {}, {});
        addBlock("vda", virtio, 252, 0, {{"removable", "0"}}, {{"DEVTYPE", "disk"}});
        const std::string ata = addDevice("scsi", "host0", pci, {}, {});
        const std::string sda = addBlock("sda", ata, 8, 0, {{"removable", "0"}, {"device/model", "Samsung SSD 870 "}},
                                         {{"DEVTYPE", "disk"}, {"ID_BUS", "ata"}});
        addPartition("sda1", sda, 8, 1, {{"ID_FS_LABEL", "Data"}});
        addPartition("sda2", sda, 8, 2, {});

        const std::string usb = addDevice("usb", "usb1", pci, {}, {{"DEVTYPE", "usb_device"}});
        const std::string stick = addBlock("sdb", usb, 8, 16, {{"removable", "1"}},
                                           {{"DEVTYPE", "disk"}, {"ID_BUS", "usb"}, {"ID_MODEL", "Cruzer_Blade"},
                                            {"ID_MODEL_ENC", "Cruzer\\x20Blade\\x20\\x20"}});
        addPartition("sdb1", stick, 8, 17, {{"ID_FS_LABEL", "MY_STICK"}, {"ID_FS_LABEL_ENC", "MY\\x20STICK"}});

        const std::string reader = addBlock("sdc", usb, 8, 32, {{"removable", "1"}},
                                            {{"DEVTYPE", "disk"}, {"ID_BUS", "usb"}, {"ID_MODEL", "USB3.0_CRW_-SD"},
                                             {"ID_DRIVE_FLASH_SD", "1"}});
        addPartition("sdc1", reader, 8, 33, {{"ID_FS_LABEL", "CAMERA"}});

        const std::string encrypted = addBlock("sdd", usb, 8, 48, {{"removable", "0"}},
                                               {{"DEVTYPE", "disk"}, {"ID_BUS", "usb"}, {"ID_MODEL", "Portable_SSD"}});
        addPartition("sdd1", encrypted, 8, 49, {{"ID_FS_TYPE", "crypto_LUKS"}});
        addPartition("sdd2", encrypted, 8, 50, {{"ID_FS_LABEL", "Plain"}});
        const std::string mapped = addBlock("dm-0", "", 254, 0, {}, {{"DEVTYPE", "disk"}, {"ID_FS_LABEL", "Secret"}});
        umockdev_testbed_set_attribute_link(testbed, mapped.c_str(), "slaves/sdd1",
                                            (fs::path("../..") / fs::path(encrypted).lexically_relative("/sys/devices") /
                                             "sdd1").c_str());

        const std::string twoPartitions =
            addBlock("sde", usb, 8, 64, {{"removable", "0"}}, {{"DEVTYPE", "disk"}, {"ID_BUS", "usb"}});
        addPartition("sde1", twoPartitions, 8, 65, {});
        addPartition("sde2", twoPartitions, 8, 66, {});

        addBlock("loop0", "", 7, 0, {{"removable", "0"}}, {{"DEVTYPE", "disk"}, {"ID_FS_LABEL", "Installer"}});
        addBlock("sr0", ata, 11, 0, {{"removable", "1"}},
                 {{"DEVTYPE", "disk"}, {"ID_BUS", "ata"}, {"ID_CDROM", "1"}, {"ID_CDROM_MEDIA", "1"},
                  {"ID_CDROM_MEDIA_DVD", "1"}, {"ID_FS_LABEL", "MOVIE"}});
    }

    MountTableVolumeSource source() const {
        return MountTableVolumeSource(KESTRIX_TEST_DATA "/mountinfo/devices.mountinfo", "/sys",
                                      [](const std::string& path) -> std::optional<MountPointStatus> {
                                          if (path == "/proc" || path == "/media/alice/Gone") return std::nullopt;
                                          return MountPointStatus{.device = static_cast<std::uint32_t>(path.size()),
                                                                  .totalBytes = 1000, .freeBytes = 400};
                                      });
    }

    static const Drive* driveWithId(const std::vector<Drive>& drives, const std::string& id) {
        for (const Drive& drive : drives) {
            if (drive.id == id) return &drive;
        }
        return nullptr;
    }

    UMockdevTestbed* testbed = nullptr;
    fs::path root;
};

}  // namespace

TEST_F(MockedMachine, RawFactsOfAUsbStick) {
    const std::vector<MountedVolume> volumes = source().mountedVolumes();
    const auto stick = std::find_if(volumes.begin(), volumes.end(),
                                    [](const MountedVolume& volume) { return volume.path == "/media/alice/MY STICK"; });
    ASSERT_NE(stick, volumes.end());
    EXPECT_EQ(*stick, (MountedVolume{.path = "/media/alice/MY STICK", .name = "MY STICK", .totalCapacity = 1000,
                                     .availableCapacity = 400, .isInternal = false, .isEjectable = true,
                                     .isRemovable = true, .isLocal = true, .isRootFileSystem = false,
                                     .isReadOnly = false, .mountSource = "/dev/sdb1", .fileSystem = "vfat",
                                     .device = 21, .deviceModel = "Cruzer Blade", .deviceProtocol = "USB",
                                     .mediaKind = "IOMedia", .wholeDisk = "sdb", .physicalDisk = std::nullopt}));
}

TEST_F(MockedMachine, UnreadableMountPointsAndMalformedLinesAreLeftOut) {
    std::vector<std::string> paths;
    for (const MountedVolume& volume : source().mountedVolumes()) paths.push_back(volume.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"/", "/run", "/home", "/media/alice/Data", "/media/alice/MY STICK",
                                               "/media/alice/CAMERA", "/media/alice/Secret", "/media/alice/Plain",
                                               "/media/alice/Part One", "/media/alice/Part Two", "/media/alice/Image",
                                               "/media/alice/MOVIE", "/media/alice/share"}));
    EXPECT_TRUE(MountTableVolumeSource("/nonexistent/mountinfo", "/sys", kestrix::readMountPointStatus)
                    .mountedVolumes()
                    .empty());
}

TEST_F(MockedMachine, ListsRemovableDrivesOnePerPhysicalDisk) {
    const std::vector<Drive> drives = kestrix::VolumeList::drives(source(), {.diskImages = false, .networkShares = false});
    std::vector<std::string> ids;
    for (const Drive& drive : drives) ids.push_back(drive.id);
    // Not the root file system, /home or the internal disk mounted under /media.
    EXPECT_EQ(ids, (std::vector<std::string>{"sdb", "sdc", "sdd", "sde", "sr0"}));

    EXPECT_EQ(driveWithId(drives, "sdb")->kind(), VolumeKind::externalDrive);
    EXPECT_EQ(driveWithId(drives, "sdc")->kind(), VolumeKind::memoryCard);
    EXPECT_EQ(driveWithId(drives, "sdc")->name(), "CAMERA");

    // The LUKS volume and the plain partition beside it are one drive.
    const Drive* encrypted = driveWithId(drives, "sdd");
    EXPECT_EQ(encrypted->name(), "Secret, Plain");
    EXPECT_EQ(encrypted->kind(), VolumeKind::externalDrive);
    EXPECT_EQ(encrypted->volumes[0].bsdName, "mapper/luks-5c1f");
    EXPECT_EQ(encrypted->volumes[0].wholeDisk, "dm-0");
    EXPECT_EQ(encrypted->volumes[0].physicalDisk, "sdd");

    EXPECT_EQ(driveWithId(drives, "sde")->name(), "Part One, Part Two");

    const Drive* disc = driveWithId(drives, "sr0");
    EXPECT_EQ(disc->kind(), VolumeKind::optical);
    EXPECT_TRUE(disc->volumes[0].isReadOnly);
}

TEST_F(MockedMachine, DiskImagesAndSharesOnlyWhenAskedFor) {
    const std::vector<Drive> drives = kestrix::VolumeList::drives(source(), {.diskImages = true, .networkShares = true});
    const Drive* image = driveWithId(drives, "loop0");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->kind(), VolumeKind::diskImage);
    EXPECT_EQ(image->name(), "Installer");
    const Drive* share = driveWithId(drives, "/media/alice/share");
    ASSERT_NE(share, nullptr);
    EXPECT_EQ(share->kind(), VolumeKind::networkShare);
    EXPECT_EQ(share->name(), "share");
    EXPECT_EQ(share->volumes[0].bsdName, std::nullopt);
    EXPECT_EQ(share->volumes[0].fileSystem, "nfs4");
}
