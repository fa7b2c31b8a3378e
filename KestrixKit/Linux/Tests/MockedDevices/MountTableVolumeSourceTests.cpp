#include <gtest/gtest.h>
#include <umockdev.h>

#include <cstdlib>
#include <filesystem>

#include "KestrixKit/Linux/BlockDevices/DiskStacking.h"
#include "KestrixKit/Linux/Mounts/MountTableVolumeSource.h"
#include "KestrixKit/Volumes/VolumeList.h"

namespace fs = std::filesystem;
using kestrix::Drive;
using kestrix::MountedVolume;
using kestrix::MountPointStatus;
using kestrix::VolumeKind;

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

std::vector<gchar*> nullTerminated(const Pairs& pairs) {
    std::vector<gchar*> list;
    for (const auto& [key, value] : pairs) {
        list.push_back(const_cast<gchar*>(key.c_str()));
        list.push_back(const_cast<gchar*>(value.c_str()));
    }
    list.push_back(nullptr);
    return list;
}

// The hardware behind devices.mountinfo in a umockdev test bed, which redirects /sys and libudev.
class MockedMachine : public ::testing::Test {
protected:
    void SetUp() override {
        const char* preload = std::getenv("LD_PRELOAD");
        if (preload == nullptr || std::string_view(preload).find("libumockdev-preload") == std::string_view::npos) {
            GTEST_SKIP() << "needs the umockdev preload; run through umockdev-wrapper";
        }
        testbed = umockdev_testbed_new();
        gchar* rootDirectory = umockdev_testbed_get_root_dir(testbed);
        root = rootDirectory;
        g_free(rootDirectory);
        const std::string pci = add("pci", "pci0000:00", "", {}, {});
        addBlock("vda", add("virtio", "virtio2", pci, {}, {}), "252:0", {}, {});
        const std::string ata = add("scsi", "host0", pci, {}, {});
        const std::string internal = addBlock("sda", ata, "8:0", {}, {{"ID_BUS", "ata"}});
        addBlock("sda1", internal, "8:1", {{"partition", "1"}}, {});
        addBlock("sda2", internal, "8:2", {{"partition", "1"}}, {});
        const std::string usb = add("usb", "usb1", pci, {}, {});
        const std::string stick = addBlock("sdb", usb, "8:16", {{"removable", "1"}},
                                           {{"ID_BUS", "usb"}, {"ID_MODEL_ENC", "Cruzer\\x20Blade\\x20\\x20"}});
        addBlock("sdb1", stick, "8:17", {{"partition", "1"}}, {{"ID_FS_LABEL_ENC", "MY\\x20STICK"}});
        reader_ = addBlock("sdc", usb, "8:32", {}, {{"ID_BUS", "usb"}, {"ID_DRIVE_FLASH_SD", "1"}});
        addBlock("sdc1", reader_, "8:33", {{"partition", "1"}}, {{"ID_FS_LABEL", "CAMERA"}});
        const std::string encrypted = addBlock("sdd", usb, "8:48", {}, {{"ID_BUS", "usb"}});
        const std::string luks = addBlock("sdd1", encrypted, "8:49", {{"partition", "1"}}, {});
        addBlock("sdd2", encrypted, "8:50", {{"partition", "1"}}, {{"ID_FS_LABEL", "Plain"}});
        stackOn(addBlock("dm-0", "", "254:0", {}, {{"ID_FS_LABEL", "Secret"}}), luks);
        twoPartitions_ = addBlock("sde", usb, "8:64", {}, {{"ID_BUS", "usb"}});
        addBlock("sde1", twoPartitions_, "8:65", {{"partition", "1"}}, {});
        addBlock("sde2", twoPartitions_, "8:66", {{"partition", "1"}}, {});
        addBlock("loop0", "", "7:0", {}, {{"ID_FS_LABEL", "Installer"}});
        addBlock("sr0", ata, "11:0", {}, {{"ID_BUS", "ata"}, {"ID_CDROM", "1"}, {"ID_CDROM_MEDIA_DVD", "1"}});
    }
    void TearDown() override {
        if (testbed != nullptr) g_object_unref(testbed);
    }

    std::string add(const char* subsystem, const std::string& name, const std::string& parent, const Pairs& attributes,
                    const Pairs& properties) {
        gchar* path = umockdev_testbed_add_devicev(testbed, subsystem, name.c_str(), parent.empty() ? nullptr : parent.c_str(),
                                                   nullTerminated(attributes).data(), nullTerminated(properties).data());
        const std::string result = path;
        g_free(path);
        return result;
    }

    // A block device that libudev can also find by its number, as it does for a mount.
    std::string addBlock(const std::string& name, const std::string& parent, const std::string& number,
                         Pairs attributes, Pairs properties) {
        const std::size_t colon = number.find(':');
        properties.insert(properties.end(), {{"MAJOR", number.substr(0, colon)}, {"MINOR", number.substr(colon + 1)}});
        attributes.emplace_back("dev", number);
        const std::string path = add("block", name, parent, attributes, properties);
        const fs::path links = root / "sys/dev/block";
        fs::create_directories(links);
        fs::create_symlink("../.." / fs::path(path).lexically_relative("/sys"), links / number);
        return path;
    }

    void stackOn(const std::string& upper, const std::string& lower) {
        const std::string target = fs::path(lower).lexically_relative(fs::path(upper) / "slaves").string();
        umockdev_testbed_set_attribute_link(testbed, upper.c_str(),
                                            ("slaves/" + fs::path(lower).filename().string()).c_str(), target.c_str());
    }

    static kestrix::MountTableVolumeSource source() {
        return {KESTRIX_TEST_DATA "/mountinfo/devices.mountinfo", "/sys", [](const std::string& path) {
                    const bool readable = path != "/proc" && path != "/media/alice/Gone";
                    return readable ? std::optional(MountPointStatus{.device = 7, .totalBytes = 1000, .freeBytes = 400})
                                    : std::nullopt;
                }};
    }

    UMockdevTestbed* testbed = nullptr;
    fs::path root;
    std::string reader_;
    std::string twoPartitions_;
};

std::string ids(const std::vector<Drive>& drives) {
    std::string text;
    for (const Drive& drive : drives) text += drive.id + "=" + drive.name() + ";";
    return text;
}

}  // namespace

TEST_F(MockedMachine, RawFactsSkipUnreadableMountPointsAndMalformedLines) {
    const std::vector<MountedVolume> volumes = source().mountedVolumes();
    // 16 lines less a malformed one, /proc and /run (on no block device) and an unreadable mount point.
    ASSERT_EQ(volumes.size(), 12u);
    EXPECT_EQ(volumes[0].path, "/");
    EXPECT_EQ(volumes[3], (MountedVolume{.path = "/media/alice/MY STICK", .name = "MY STICK", .totalCapacity = 1000,
                                         .availableCapacity = 400, .isInternal = false, .isEjectable = true,
                                         .isRemovable = true, .isLocal = true, .isRootFileSystem = false,
                                         .isReadOnly = false, .mountSource = "/dev/sdb1", .fileSystem = "vfat",
                                         .device = 7, .deviceModel = "Cruzer Blade", .deviceProtocol = "USB",
                                         .mediaKind = "IOMedia", .wholeDisk = "sdb"}));
    EXPECT_TRUE(volumes[0].isRootFileSystem.value_or(false));
    EXPECT_TRUE(kestrix::MountTableVolumeSource("/nonexistent", "/sys", kestrix::readMountPointStatus)
                    .mountedVolumes().empty());
}

TEST_F(MockedMachine, OneDrivePerPhysicalDiskAndOptionalKindsOnRequest) {
    const auto drives = kestrix::VolumeList::drives(source(), {});
    // Neither the root file system, /home nor the internal disk mounted under /media; the LUKS
    // volume and the plain partition beside it are one drive.
    EXPECT_EQ(ids(drives), "sdb=MY STICK;sdc=CAMERA;sdd=Secret, Plain;sde=Part One, Part Two;sr0=MOVIE;");
    EXPECT_EQ(drives[1].kind(), VolumeKind::memoryCard);
    EXPECT_EQ(drives[2].kind(), VolumeKind::externalDrive);
    EXPECT_EQ(drives[2].volumes[0].wholeDisk, "dm-0");
    EXPECT_EQ(drives[4].kind(), VolumeKind::optical);
    EXPECT_TRUE(drives[4].volumes[0].isReadOnly);

    const auto all = kestrix::VolumeList::drives(source(), {.diskImages = true, .networkShares = true});
    EXPECT_EQ(ids(all), "sdb=MY STICK;sdc=CAMERA;sdd=Secret, Plain;sde=Part One, Part Two;loop0=Installer;"
                        "sr0=MOVIE;/media/alice/share=share;");
    EXPECT_EQ(all[4].kind(), VolumeKind::diskImage);
    EXPECT_EQ(all[6].kind(), VolumeKind::networkShare);
}

TEST_F(MockedMachine, StackingWalkStopsOnLoopsAndPicksTheFirstMember) {
    const std::string md = addBlock("md0", "", "9:0", {}, {});
    stackOn(md, twoPartitions_);
    stackOn(md, reader_);
    EXPECT_EQ(kestrix::DiskStacking::physicalDisk("/sys", "md0"), "sdc");
    const std::string first = addBlock("dm-5", "", "254:5", {}, {});
    stackOn(first, "/sys/devices/dm-6");
    stackOn(addBlock("dm-6", "", "254:6", {}, {}), first);
    EXPECT_EQ(kestrix::DiskStacking::physicalDisk("/sys", "dm-5"), std::nullopt);
    EXPECT_EQ(kestrix::DiskStacking::wholeDisk("/sys", "../block"), std::nullopt);
}
