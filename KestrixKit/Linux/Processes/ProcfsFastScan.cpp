#include "KestrixKit/Linux/Processes/ProcfsFastScan.h"

#include <algorithm>

namespace kestrix {
namespace {

std::string_view withoutTrailingSlash(std::string_view path) {
    if (path.size() > 1 && path.ends_with('/')) path.remove_suffix(1);
    return path;
}

}  // namespace

ProcfsFastScan::ProcfsFastScan(const DriveScope& drive, const std::vector<MountEntry>& mounts)
    : driveDevices_(drive.devices) {
    for (const MountEntry& mount : mounts) {
        if (drive.containsDevice(mount.device)) {
            driveMounts_.insert(mount.id);
            continue;
        }
        const bool inside = std::any_of(drive.mountPaths.begin(), drive.mountPaths.end(), [&](const std::string& path) {
            return mount.mountPoint != withoutTrailingSlash(path) && DriveScope::isUnder(mount.mountPoint, {path});
        });
        if (inside) innerDevices_.insert(mount.device);
    }
}

Placement ProcfsFastScan::place(const FileFacts& file) const {
    if (file.device != 0 && driveDevices_.contains(file.device)) return Placement::onDrive;
    if (file.mountID && driveMounts_.contains(*file.mountID)) return Placement::onDrive;
    // Without a device, only the path can tell.
    if (file.device == 0 || innerDevices_.contains(file.device)) return Placement::onDriveIfUnderItsPaths;
    return Placement::offDrive;
}

DriveScope mountedPartOf(const DriveScope& drive, const std::vector<MountEntry>& mounts,
                         const std::function<std::optional<FileFacts>(const std::string& path)>& factsOf) {
    DriveScope part;
    for (const std::string& path : drive.mountPaths) {
        const std::string base(withoutTrailingSlash(path));
        const std::optional<FileFacts> facts = factsOf(base);
        if (!facts || !drive.containsDevice(facts->device)) continue;
        const bool mountedHere = std::any_of(mounts.begin(), mounts.end(), [&](const MountEntry& mount) {
            return mount.mountPoint == base && (facts->mountID ? mount.id == *facts->mountID : mount.device == facts->device);
        });
        if (!mountedHere) continue;
        part.devices.insert(facts->device);
        part.mountPaths.push_back(path);
    }
    return part;
}

}  // namespace kestrix
