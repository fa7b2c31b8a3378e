#include "KestrixKit/Linux/Processes/ProcfsFastScan.h"

#include <algorithm>

namespace kestrix {

ProcfsFastScan::ProcfsFastScan(const DriveScope& drive, const std::vector<MountEntry>& mounts,
                               std::set<std::uint32_t> kernelOnlyDevices)
    : driveDevices_(drive.devices), kernelOnlyDevices_(std::move(kernelOnlyDevices)) {
    // A mount path where none of the drive's volumes is mounted (gone, or never a mount point)
    // is an ordinary folder of the file systems above it, whose files the path rule takes in.
    const auto driveMountedAt = [&](std::string_view path) {
        if (path.ends_with('/')) path.remove_suffix(1);
        return std::any_of(mounts.begin(), mounts.end(), [&](const MountEntry& mount) {
            return drive.containsDevice(mount.device) && mount.mountPoint == (path.empty() ? "/" : path);
        });
    };
    if (!std::all_of(drive.mountPaths.begin(), drive.mountPaths.end(), driveMountedAt)) return;
    for (const MountEntry& mount : mounts) {
        if (!drive.containsDevice(mount.device) && !drive.containsPath(mount.mountPoint)) {
            mountsOffTheDrive_.insert(mount.id);
        }
    }
    std::erase_if(kernelOnlyDevices_, [&](std::uint32_t device) { return drive.containsDevice(device); });
}

bool ProcfsFastScan::needsPath(const DescriptorFacts& descriptor) const {
    if (descriptor.device != 0 && driveDevices_.contains(descriptor.device)) return true;
    if (descriptor.mountID && mountsOffTheDrive_.contains(*descriptor.mountID)) return false;
    return !kernelOnlyDevices_.contains(descriptor.device);
}

}  // namespace kestrix
