#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kestrix {

// What libblkid reads from the superblock of the file system on a device.
struct ProbedFileSystem {
    std::string type;                  // "ext4", "vfat", "iso9660"
    std::optional<std::string> label;  // absent when the file system has none
    std::optional<std::string> uuid;   // absent when the file system has none

    bool operator==(const ProbedFileSystem&) const = default;
};

// The file system on this device node, read from the device itself; nothing when the device
// cannot be opened (reading a disk needs root or the disk group) or holds no known file system.
std::optional<ProbedFileSystem> probeFileSystem(const std::filesystem::path& deviceNode);

}  // namespace kestrix
