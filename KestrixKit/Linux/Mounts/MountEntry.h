#pragma once

#include <string>

namespace kestrix {

// One line of the kernel's mount table, as far as unmounting needs it.
struct MountEntry {
    std::string mountPoint;
    // The mounted device's path ("/dev/sdb1"), or whatever the file system names as its source.
    std::string source;
    // The "major:minor" device number the kernel reports for the mount.
    std::string deviceNumber;

    bool operator==(const MountEntry&) const = default;
};

}  // namespace kestrix
