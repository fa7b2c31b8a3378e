#include <gtest/gtest.h>
#include <sys/sysmacros.h>

#include "KestrixKit/Linux/BlockDevices/DeviceDescription.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "KestrixKit/Linux/Mounts/NetworkFileSystems.h"
#include "KestrixKit/Linux/BlockDevices/UdevEncoding.h"

using kestrix::describe;
using kestrix::DeviceDescription;

TEST(LinuxDeviceDescription, BusesFlagsAndModels) {
    EXPECT_EQ(describe({.kernelName = "sdb", .bus = "usb", .udevModel = " Cruzer Blade\t ", .sysfsModel = "x"}),
              (DeviceDescription{.deviceProtocol = "USB", .deviceModel = "Cruzer Blade", .mediaKind = "IOMedia",
                                 .isInternal = false, .isEjectable = false, .isRemovable = true}));
    const DeviceDescription sata = describe({.kernelName = "sda", .bus = "ata", .sysfsModel = "Samsung SSD "});
    EXPECT_EQ(sata.deviceProtocol, "SATA");
    EXPECT_EQ(sata.deviceModel, "Samsung SSD");
    EXPECT_TRUE(sata.isInternal && !sata.isEjectable && !sata.isRemovable);
    // The kernel's removable flag alone makes a disk ejectable, even on an internal bus.
    EXPECT_FALSE(describe({.kernelName = "sdg", .bus = "ata", .removableFlag = true}).isInternal);
    // Without ID_BUS the parent devices tell, a USB bridge taking precedence over the SCSI layer.
    EXPECT_EQ(describe({.kernelName = "nvme0n1", .ancestorSubsystems = {"nvme", "pci"}}).deviceProtocol, "PCI-Express");
    EXPECT_EQ(describe({.kernelName = "vdb", .ancestorSubsystems = {"virtio"}}).deviceProtocol, "Virtual Interface");
    EXPECT_EQ(describe({.kernelName = "sdf", .ancestorSubsystems = {"scsi", "usb", "pci"}}).deviceProtocol, "USB");
    EXPECT_EQ(describe({.kernelName = "sdb", .udevModel = " \t "}).deviceModel, "");
}

TEST(LinuxDeviceDescription, CardsImagesAndDiscs) {
    const DeviceDescription slot = describe({.kernelName = "mmcblk0", .ancestorSubsystems = {"mmc"}});
    EXPECT_EQ(slot.deviceProtocol, "Secure Digital");
    EXPECT_TRUE(slot.isRemovable);
    EXPECT_EQ(describe({.kernelName = "sdc", .bus = "usb", .isFlashSd = true}).deviceProtocol, "Secure Digital");

    EXPECT_EQ(describe({.kernelName = "loop3", .sysfsModel = "x"}),
              (DeviceDescription{.deviceProtocol = "Disk Image", .deviceModel = "Disk Image", .mediaKind = "IOMedia"}));

    EXPECT_EQ(describe({.kernelName = "sr0", .bus = "ata"}).mediaKind, "IOCDMedia");
    EXPECT_EQ(describe({.kernelName = "sr0", .hasDvdDisc = true}).mediaKind, "IODVDMedia");
    const DeviceDescription bluRay = describe({.kernelName = "sdh", .isCdrom = true, .hasBluRayDisc = true, .hasDvdDisc = true});
    EXPECT_EQ(bluRay.mediaKind, "IOBDMedia");
    EXPECT_TRUE(bluRay.isEjectable && !bluRay.isInternal);
}

TEST(LinuxVolumeFacts, FileSystemTypesEncodingsAndNumbers) {
    EXPECT_TRUE(kestrix::isNetworkFileSystem("nfs4") && kestrix::isNetworkFileSystem("fuse.sshfs"));
    EXPECT_FALSE(kestrix::isNetworkFileSystem("fuseblk") || kestrix::isNetworkFileSystem("NFS"));

    EXPECT_EQ(kestrix::decodedUdevText("My\\x20Stick\\x20Caf\\xc3\\xa9"), "My Stick Café");
    EXPECT_EQ(kestrix::decodedUdevText("a\\xZZb\\x4"), "a\\xZZb\\x4");

    for (const auto& [major, minor] : {std::pair{8u, 17u}, {259u, 300u}, {4095u, 0xfffffu}}) {
        const std::uint32_t kernel = (minor & 0xffu) | (major << 8) | ((minor & ~0xffu) << 12);
        EXPECT_EQ(kestrix::kernelDeviceNumber(makedev(major, minor)), kernel) << major << ":" << minor;
    }
    EXPECT_EQ(kestrix::byteCount(UINT64_MAX / 2, 4), std::nullopt);
}
