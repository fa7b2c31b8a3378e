#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix {

// One mount of the kernel's mount table.
struct MountEntry {
    std::uint64_t id = 0;  // the mount id, as statx reports it for a file on the mount
    std::uint64_t parentId = 0;  // the mount it sits on; a mount on the same folder covers that one
    std::string mountPoint;
    // The mounted device's path ("/dev/sdb1"), or whatever the file system names as its source.
    std::string source;
    // The mounted device's number in the two forms it is compared in: "major:minor" as sysfs
    // writes it, and the kernel's 32-bit encoding as st_dev reports it for open files.
    std::string deviceNumber;
    std::uint32_t device = 0;
    std::string fileSystem;  // the file-system type ("ext4", "tmpfs", "nfs4")
    bool isReadOnly = false;
    // Its propagation: the peer group it shares mounts and unmounts with ("shared:N"), and the
    // one it receives them from ("master:N"); absent for a private mount.
    std::optional<std::uint64_t> sharedGroup;
    std::optional<std::uint64_t> masterGroup;

    bool operator==(const MountEntry&) const = default;
};

}  // namespace kestrix
