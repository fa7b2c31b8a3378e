#include <gtest/gtest.h>
#include <sys/sysmacros.h>

#include "KestrixKit/Linux/DeviceDescription.h"
#include "KestrixKit/Linux/MountPointStatus.h"
#include "KestrixKit/Linux/NetworkFileSystems.h"
#include "KestrixKit/Linux/UdevEncoding.h"

using kestrix::BlockDeviceFacts;
using kestrix::describe;
using kestrix::DeviceDescription;

TEST(LinuxDeviceDescription, UsbStickIsRemovableAndNotInternal) {
    const DeviceDescription stick = describe(
        BlockDeviceFacts{.kernelName = "sdb", .bus = "usb", .udevModel = " Cruzer Blade\t ", .sysfsModel = "Cruzer"});
    EXPECT_EQ(stick, (DeviceDescription{.deviceProtocol = "USB", .deviceModel = "Cruzer Blade", .mediaKind = "IOMedia",
                                        .isInternal = false, .isEjectable = false, .isRemovable = true}));
}

TEST(LinuxDeviceDescription, BusesMapToProtocols) {
    EXPECT_EQ(describe({.kernelName = "sda", .bus = "ata"}).deviceProtocol, "SATA");
    EXPECT_EQ(describe({.kernelName = "sdc", .bus = "scsi"}).deviceProtocol, "SCSI");
    EXPECT_EQ(describe({.kernelName = "sdd", .bus = "ieee1394"}).deviceProtocol, "FireWire");
    EXPECT_EQ(describe({.kernelName = "sde", .bus = "weird"}).deviceProtocol, std::nullopt);
    // Without ID_BUS the parent devices tell, a USB bridge taking precedence over the SCSI layer.
    EXPECT_EQ(describe({.kernelName = "nvme0n1", .ancestorSubsystems = {"nvme", "pci"}}).deviceProtocol, "PCI-Express");
    EXPECT_EQ(describe({.kernelName = "vdb", .ancestorSubsystems = {"virtio", "pci"}}).deviceProtocol,
              "Virtual Interface");
    EXPECT_EQ(describe({.kernelName = "sdf", .ancestorSubsystems = {"scsi", "scsi", "usb", "usb", "pci"}}).deviceProtocol,
              "USB");
}

TEST(LinuxDeviceDescription, FixedInternalDiskIsInternal) {
    const DeviceDescription disk = describe({.kernelName = "sda", .bus = "ata", .sysfsModel = "Samsung SSD 870"});
    EXPECT_TRUE(disk.isInternal);
    EXPECT_FALSE(disk.isEjectable);
    EXPECT_FALSE(disk.isRemovable);
    EXPECT_EQ(disk.deviceModel, "Samsung SSD 870");
    EXPECT_TRUE(describe({.kernelName = "nvme0n1", .ancestorSubsystems = {"nvme"}}).isInternal);
    // The kernel's removable flag alone makes a disk ejectable, even on an internal bus.
    const DeviceDescription flagged = describe({.kernelName = "sdg", .bus = "ata", .removableFlag = true});
    EXPECT_FALSE(flagged.isInternal);
    EXPECT_TRUE(flagged.isEjectable);
}

TEST(LinuxDeviceDescription, SdCardsInSlotsAndReaders) {
    const DeviceDescription slot = describe({.kernelName = "mmcblk0", .ancestorSubsystems = {"mmc", "mmc_host"}});
    EXPECT_EQ(slot.deviceProtocol, "Secure Digital");
    EXPECT_TRUE(slot.isRemovable);
    EXPECT_FALSE(slot.isInternal);
    const DeviceDescription reader = describe({.kernelName = "sdc", .bus = "usb", .isFlashSd = true});
    EXPECT_EQ(reader.deviceProtocol, "Secure Digital");
    EXPECT_TRUE(reader.isRemovable);
}

TEST(LinuxDeviceDescription, LoopDeviceIsADiskImageNeverInternal) {
    const DeviceDescription loop = describe({.kernelName = "loop3", .sysfsModel = "ignored"});
    EXPECT_EQ(loop, (DeviceDescription{.deviceProtocol = "Disk Image", .deviceModel = "Disk Image",
                                       .mediaKind = "IOMedia", .isInternal = false}));
}

TEST(LinuxDeviceDescription, OpticalMediaKindFollowsTheDisc) {
    EXPECT_EQ(describe({.kernelName = "sr0", .bus = "ata", .isCdrom = true}).mediaKind, "IOCDMedia");
    EXPECT_EQ(describe({.kernelName = "sr0", .isCdrom = true, .hasDvdDisc = true}).mediaKind, "IODVDMedia");
    EXPECT_EQ(describe({.kernelName = "sr1", .hasBluRayDisc = true, .hasDvdDisc = true}).mediaKind, "IOBDMedia");
    EXPECT_EQ(describe({.kernelName = "sdh", .bus = "usb", .isCdrom = true}).mediaKind, "IOCDMedia");
    const DeviceDescription drive = describe({.kernelName = "sr0", .bus = "ata"});
    EXPECT_TRUE(drive.isEjectable);
    EXPECT_FALSE(drive.isInternal);
}

TEST(LinuxDeviceDescription, ModelFallsBackToSysfsAndKeepsAllBlankAsEmpty) {
    EXPECT_EQ(describe({.kernelName = "sdb", .sysfsModel = "Ultra Fit       "}).deviceModel, "Ultra Fit");
    EXPECT_EQ(describe({.kernelName = "sdb", .udevModel = " \t "}).deviceModel, "");
    EXPECT_EQ(describe({.kernelName = "sdb", .udevModel = "Line\n"}).deviceModel, "Line\n");
    EXPECT_EQ(describe({.kernelName = "sdb"}).deviceModel, std::nullopt);
}

TEST(LinuxNetworkFileSystems, NetworkTypesAreRecognisedExactly) {
    for (const char* type : {"nfs", "nfs4", "cifs", "smb3", "9p", "ceph", "fuse.sshfs", "fuse.rclone", "davfs"}) {
        EXPECT_TRUE(kestrix::isNetworkFileSystem(type)) << type;
    }
    for (const char* type : {"ext4", "vfat", "exfat", "fuse", "fuseblk", "tmpfs", "NFS", ""}) {
        EXPECT_FALSE(kestrix::isNetworkFileSystem(type)) << type;
    }
}

TEST(LinuxUdevEncoding, EscapesBecomeBytesAndMalformedOnesStay) {
    EXPECT_EQ(kestrix::decodedUdevText("My\\x20Stick\\x20\\x20"), "My Stick  ");
    EXPECT_EQ(kestrix::decodedUdevText("Caf\\xc3\\xa9"), "Café");
    EXPECT_EQ(kestrix::decodedUdevText("a\\xZZb\\x4"), "a\\xZZb\\x4");
    EXPECT_EQ(kestrix::decodedUdevText("\\x5c\\x78"), "\\x");
    EXPECT_EQ(kestrix::decodedUdevText(""), "");
}

TEST(LinuxMountPointStatus, DeviceNumberIsTheKernelEncodingAndSizesDoNotOverflow) {
    for (const auto& [major, minor] : {std::pair{8u, 17u}, {7u, 0u}, {259u, 300u}, {4095u, 0xfffffu}}) {
        const std::uint32_t kernel = (minor & 0xffu) | (major << 8) | ((minor & ~0xffu) << 12);
        EXPECT_EQ(kestrix::kernelDeviceNumber(makedev(major, minor)), kernel) << major << ":" << minor;
    }
    EXPECT_EQ(kestrix::byteCount(4096, 4096), 16777216u);
    EXPECT_EQ(kestrix::byteCount(UINT64_MAX / 2, 4), std::nullopt);
}
