#include "KestrixKit/Linux/MountTableVolumeSource.h"

#include <libmount.h>

#include <memory>

#include "KestrixKit/Linux/DeviceDescription.h"
#include "KestrixKit/Linux/DiskStacking.h"
#include "KestrixKit/Linux/NetworkFileSystems.h"
#include "KestrixKit/Linux/UdevBlockDevices.h"

namespace kestrix {
namespace {

using TablePointer = std::unique_ptr<libmnt_table, decltype(&mnt_unref_table)>;
using IteratorPointer = std::unique_ptr<libmnt_iter, decltype(&mnt_free_iter)>;

std::optional<std::string> text(const char* value) {
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

// A malformed line costs that line only, never the rest of the table.
int skipMalformedLine(libmnt_table*, const char*, int) { return 1; }

TablePointer readMountTable(const std::string& path) {
    TablePointer table(mnt_new_table(), &mnt_unref_table);
    if (!table) return table;
    mnt_table_set_parser_errcb(table.get(), skipMalformedLine);
    if (mnt_table_parse_file(table.get(), path.c_str()) != 0) table.reset();
    return table;
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
    const TablePointer table = readMountTable(mountInfoPath_);
    if (!table) return volumes;
    const IteratorPointer iterator(mnt_new_iter(MNT_ITER_FORWARD), &mnt_free_iter);
    if (!iterator) return volumes;
    const UdevBlockDevices devices;

    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iterator.get(), &fs) == 0) {
        const std::optional<std::string> target = text(mnt_fs_get_target(fs));
        if (!target) continue;
        const std::optional<MountPointStatus> status = statusOf_(*target);
        if (!status) continue;

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
    }
    return volumes;
}

}  // namespace kestrix
