#include "KestrixKit/Linux/Mounts/MountTableVolumeSource.h"

#include <sys/sysmacros.h>

#include "KestrixKit/Linux/BlockDevices/DeviceDescription.h"
#include "KestrixKit/Linux/BlockDevices/DeviceIdentity.h"
#include "KestrixKit/Linux/BlockDevices/DiskStacking.h"
#include "KestrixKit/Linux/BlockDevices/UdevBlockDevices.h"
#include "KestrixKit/Linux/BlockDevices/VolumeLabel.h"
#include "KestrixKit/Linux/Kernel/LoopBackings.h"
#include "KestrixKit/Linux/Mounts/MountEntries.h"
#include "KestrixKit/Linux/Mounts/MountVisibility.h"
#include "KestrixKit/Linux/Mounts/NetworkFileSystems.h"

namespace kestrix {
namespace {

// The kernel's 32-bit device encoding back as glibc's dev_t.
dev_t glibcDevice(std::uint32_t kernelDevice) {
    return makedev((kernelDevice >> 8) & 0xfff, (kernelDevice & 0xff) | ((kernelDevice >> 12) & 0xfff00));
}

void addDeviceFacts(MountedVolume& volume, const UdevBlockDevices& devices, const std::filesystem::path& sysfsRoot,
                    const std::string& kernelName) {
    volume.name = volumeLabel(devices, kernelName);
    volume.identity = deviceIdentity(sysfsRoot, "/dev", kernelName);
    volume.wholeDisk = DiskStacking::wholeDisk(sysfsRoot, kernelName);
    if (!volume.wholeDisk) return;
    volume.physicalDisk = DiskStacking::physicalDisk(sysfsRoot, *volume.wholeDisk);
    volume.imageFile = loopBackingFile(sysfsRoot, *volume.wholeDisk);

    // The disk that carries the data decides what the volume is: for encrypted or LVM volumes
    // that is the disk beneath, not the mapped device.
    const std::optional<BlockDeviceFacts> facts = devices.facts(volume.physicalDisk.value_or(*volume.wholeDisk));
    if (!facts) return;
    const DeviceDescription description = describe(*facts);
    volume.deviceProtocol = description.deviceProtocol;
    volume.deviceModel = description.deviceModel;
    volume.mediaKind = description.mediaKind;
    volume.isInternal = description.isInternal;
    volume.isEjectable = description.isEjectable;
    volume.isRemovable = description.isRemovable;
}

}  // namespace

MountTableVolumeSource::MountTableVolumeSource()
    : MountTableVolumeSource("/proc/self/mountinfo", "/sys", readMountPointStatus) {}

MountTableVolumeSource::MountTableVolumeSource(std::string mountInfoPath, std::filesystem::path sysfsRoot,
                                               StatusReader statusOf)
    : mountInfoPath_(std::move(mountInfoPath)), sysfsRoot_(std::move(sysfsRoot)), statusOf_(std::move(statusOf)) {}

std::vector<MountedVolume> MountTableVolumeSource::mountedVolumes() const {
    const std::optional<std::vector<MountEntry>> mounts = readMountEntries(mountInfoPath_);
    if (!mounts) return {};
    std::vector<MountedVolume> volumes;
    const UdevBlockDevices devices;
    // A covered mount would borrow the status, and so the device and holders, of what covers it.
    for (const MountEntry& mount : visibleMounts(*mounts)) {
        const bool isLocal = !isNetworkFileSystem(mount.fileSystem);
        const std::optional<std::string> source =
            mount.source.empty() ? std::nullopt : std::optional<std::string>(mount.source);
        std::optional<std::string> kernelName;
        if (isLocal) {
            kernelName = devices.kernelName(glibcDevice(mount.device), source);
            // A local file system on no block device (tmpfs, proc, overlay) is no drive.
            if (!kernelName) continue;
        }
        const std::optional<MountPointStatus> status = statusOf_(mount.mountPoint);
        if (!status) continue;

        MountedVolume volume;
        volume.path = mount.mountPoint;
        volume.isRootFileSystem = mount.mountPoint == "/";
        volume.fileSystem = mount.fileSystem;
        volume.isLocal = isLocal;
        volume.isReadOnly = mount.isReadOnly;
        volume.mountSource = source;
        volume.device = status->device;
        volume.totalCapacity = status->totalBytes;
        volume.availableCapacity = status->freeBytes;
        if (kernelName) addDeviceFacts(volume, devices, sysfsRoot_, *kernelName);
        volumes.push_back(std::move(volume));
    }
    return volumes;
}

}  // namespace kestrix
