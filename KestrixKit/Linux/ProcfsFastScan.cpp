#include "KestrixKit/Linux/ProcfsFastScan.h"

namespace kestrix {

ProcfsFastScan::ProcfsFastScan(const DriveScope& drive, const std::vector<MountedFileSystem>& mounts,
                               std::set<std::uint32_t> kernelOnlyDevices)
    : driveDevices_(drive.devices), kernelOnlyDevices_(std::move(kernelOnlyDevices)) {
    for (const MountedFileSystem& mount : mounts) {
        if (!drive.containsDevice(mount.device) && !drive.containsPath(mount.target)) {
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
