#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrix {

// A mount of this process's mount namespace, by the numbers the kernel gives its files.
struct MountedFileSystem {
    std::uint64_t id = 0;  // the mount id, as statx reports it for a file on the mount
    std::string target;
    std::uint32_t device = 0;  // in the kernel's 32-bit encoding, as st_dev reports it

    bool operator==(const MountedFileSystem&) const = default;
};

// The mounts of a mountinfo file (normally /proc/self/mountinfo); absent when it cannot be read.
// Malformed lines are skipped.
std::optional<std::vector<MountedFileSystem>> readMountedFileSystems(const std::string& mountInfoPath);

}  // namespace kestrix
