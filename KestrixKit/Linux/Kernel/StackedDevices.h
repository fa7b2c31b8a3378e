#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace kestrix {

// A block device built on a disk, as sysfs shows it.
struct StackedDevice {
    // "dm-0", "md127", "bcache0".
    std::string kernelName;
    // What it is known by: a device-mapper device's own name, else the kernel name.
    std::string name;

    bool operator==(const StackedDevice&) const = default;
};

// The devices stacked on a whole disk or on one of its partitions (their "holders" in sysfs),
// without those in ownDevices (the drive's own file systems, as an opened encrypted partition is)
// and without an encrypted partition's own mapping, which belongs to the drive. By kernel name,
// each once.
std::vector<StackedDevice> stackedDevices(const std::filesystem::path& sysfsRoot, const std::string& wholeDisk,
                                          const std::set<std::string>& ownDevices);

}  // namespace kestrix
