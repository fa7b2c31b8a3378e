#include "KestrixKit/Linux/Mounts/DiskMounts.h"

#include <algorithm>

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
        const bool onDisk = std::any_of(devices.begin(), devices.end(), [&](const BlockDevice& device) {
            return deviceNames.contains(device.name) && isMountOf(*mount, device);
        });
        const bool ofVolume = std::find(volumeMountPoints.begin(), volumeMountPoints.end(), mount->mountPoint) !=
                              volumeMountPoints.end();
        if (onDisk || ofVolume) mountPoints.push_back(mount->mountPoint);
    }
    std::stable_sort(mountPoints.begin(), mountPoints.end(),
                     [](const std::string& a, const std::string& b) { return depth(a) > depth(b); });
    return mountPoints;
}

}  // namespace kestrix::DiskMounts
