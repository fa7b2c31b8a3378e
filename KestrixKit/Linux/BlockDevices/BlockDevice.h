#pragma once

#include <string>
#include <vector>

namespace kestrix {

// One block device as sysfs shows it: its kernel name, its "major:minor" number, its
// partitions, and the devices it is built on (a dm-crypt or md device's "slaves").
struct BlockDevice {
    std::string name;
    std::string deviceNumber;
    std::vector<std::string> partitions;
    std::vector<std::string> slaves;

    bool operator==(const BlockDevice&) const = default;
};

}  // namespace kestrix
