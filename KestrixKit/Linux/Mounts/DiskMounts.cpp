#include "KestrixKit/Linux/Mounts/DiskMounts.h"

#include <algorithm>

#include "KestrixKit/Holders/DriveScope.h"
#include "KestrixKit/Linux/Mounts/NetworkFileSystems.h"

namespace kestrix::DiskMounts {
namespace {

std::size_t depth(const std::string& path) {
    std::size_t components = 0;
    bool inComponent = false;
    for (const char character : path) {
        if (character == '/') {
            inComponent = false;
        } else if (!inComponent) {
            inComponent = true;
            ++components;
        }
    }
    return components;
}

bool isMountOf(const MountEntry& mount, const BlockDevice& device) {
    // A device number names the device exactly; the source path also catches file systems (such
    // as btrfs) that report a number of their own.
    return mount.deviceNumber == device.deviceNumber || mount.source == "/dev/" + device.name;
}

bool isOnAnyOf(const MountEntry& mount, const std::vector<BlockDevice>& devices, const std::set<std::string>& names) {
    return std::any_of(devices.begin(), devices.end(), [&](const BlockDevice& device) {
        return names.contains(device.name) && isMountOf(mount, device);
    });
}

bool isOnBlockDevice(const MountEntry& mount, const std::vector<BlockDevice>& devices) {
    return std::any_of(devices.begin(), devices.end(),
                       [&](const BlockDevice& device) { return isMountOf(mount, device); });
}

// The drive's devices by kernel name: each whole disk with everything on it, each lone partition.
std::set<std::string> devicesOf(const Drive& drive, const std::vector<BlockDevice>& devices) {
    std::set<std::string> names;
    for (const DriveVolume& volume : drive.volumes) {
        if (volume.wholeDisk) names.merge(devicesOn(*volume.wholeDisk, devices));
        else if (volume.bsdName) names.insert(*volume.bsdName);
    }
    return names;
}

}  // namespace

std::set<std::string> devicesOn(const std::string& disk, const std::vector<BlockDevice>& devices) {
    std::set<std::string> names{disk};
    const auto addWithPartitions = [&](const std::string& name) {
        bool added = names.insert(name).second;
        for (const BlockDevice& device : devices) {
            if (device.name != name) continue;
            for (const std::string& partition : device.partitions) added |= names.insert(partition).second;
        }
        return added;
    };
    addWithPartitions(disk);
    for (bool grew = true; grew;) {
        grew = false;
        for (const BlockDevice& device : devices) {
            const bool stacked = std::any_of(device.slaves.begin(), device.slaves.end(),
                                             [&](const std::string& slave) { return names.contains(slave); });
            if (stacked) grew |= addWithPartitions(device.name);
        }
    }
    return names;
}

std::vector<std::string> unmountOrder(const std::string& disk, const std::vector<std::string>& volumeMountPoints,
                                      const std::vector<BlockDevice>& devices, const std::vector<MountEntry>& mounts) {
    const std::set<std::string> deviceNames = devicesOn(disk, devices);
    std::vector<std::string> mountPoints;
    for (auto mount = mounts.rbegin(); mount != mounts.rend(); ++mount) {
        const bool onDisk = isOnAnyOf(*mount, devices, deviceNames);
        const bool ofVolume = std::find(volumeMountPoints.begin(), volumeMountPoints.end(), mount->mountPoint) !=
                              volumeMountPoints.end();
        if (onDisk || ofVolume) mountPoints.push_back(mount->mountPoint);
    }
    std::stable_sort(mountPoints.begin(), mountPoints.end(),
                     [](const std::string& a, const std::string& b) { return depth(a) > depth(b); });
    return mountPoints;
}

std::optional<MountEntry> otherDriveInside(const Drive& drive, const std::vector<BlockDevice>& devices,
                                           const std::vector<MountEntry>& mounts) {
    const std::vector<std::string> mountPaths = drive.mountPaths();
    const std::set<std::uint32_t> fileSystems = drive.devices();
    const std::set<std::string> ownDevices = devicesOf(drive, devices);
    for (const MountEntry& mount : mounts) {
        if (!DriveScope::isUnder(mount.mountPoint, mountPaths)) continue;
        const bool isOwn = std::find(mountPaths.begin(), mountPaths.end(), mount.mountPoint) != mountPaths.end() ||
                           fileSystems.contains(mount.device) || isOnAnyOf(mount, devices, ownDevices);
        if (isOwn) continue;
        if (isOnBlockDevice(mount, devices) || isNetworkFileSystem(mount.fileSystem)) return mount;
    }
    return std::nullopt;
}

}  // namespace kestrix::DiskMounts
