#include "KestrixKit/Linux/Mounts/MountTableVolumeSource.h"

#include <libmount.h>

#include "KestrixKit/Linux/BlockDevices/DeviceDescription.h"
#include "KestrixKit/Linux/BlockDevices/DiskStacking.h"
#include "KestrixKit/Linux/Mounts/MountInfoTable.h"
#include "KestrixKit/Linux/Mounts/NetworkFileSystems.h"
#include "KestrixKit/Linux/BlockDevices/UdevBlockDevices.h"

namespace kestrix {
namespace {

std::optional<std::string> text(const char* value) {
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

bool isReadOnlyMount(libmnt_fs* fs) {
    // Either the mount itself or its whole file system may be read-only.
    char* value = nullptr;
    std::size_t size = 0;
    return mnt_fs_get_option(fs, "ro", &value, &size) == 0;
}

void addDeviceFacts(MountedVolume& volume, const UdevBlockDevices& devices, const std::filesystem::path& sysfsRoot,
                    dev_t deviceNumber) {
    const std::optional<std::string> kernelName = devices.kernelName(deviceNumber, volume.mountSource);
    if (!kernelName) return;
    volume.name = devices.fileSystemLabel(*kernelName);
    volume.wholeDisk = DiskStacking::wholeDisk(sysfsRoot, *kernelName);
    if (!volume.wholeDisk) return;
    volume.physicalDisk = DiskStacking::physicalDisk(sysfsRoot, *volume.wholeDisk);

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
    std::vector<MountedVolume> volumes;
    const UdevBlockDevices devices;
    forEachMount(mountInfoPath_, [&](libmnt_fs* fs) {
        const std::optional<std::string> target = text(mnt_fs_get_target(fs));
        if (!target) return;
        const std::optional<MountPointStatus> status = statusOf_(*target);
        if (!status) return;

        MountedVolume volume;
        volume.path = *target;
        volume.isRootFileSystem = *target == "/";
        volume.fileSystem = text(mnt_fs_get_fstype(fs)).value_or("");
        volume.isLocal = !isNetworkFileSystem(volume.fileSystem);
        volume.isReadOnly = isReadOnlyMount(fs);
        volume.mountSource = text(mnt_fs_get_source(fs));
        volume.device = status->device;
        volume.totalCapacity = status->totalBytes;
        volume.availableCapacity = status->freeBytes;
        if (*volume.isLocal) addDeviceFacts(volume, devices, sysfsRoot_, mnt_fs_get_devno(fs));
        volumes.push_back(std::move(volume));
    });
    return volumes;
}

}  // namespace kestrix
