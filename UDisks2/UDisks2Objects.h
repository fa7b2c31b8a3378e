#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrix {

// One block device as the disk service describes it. Object paths of "/" (none) are absent.
struct UDisks2Block {
    std::string path;
    // "/dev/sdb1"; preferredDevice is the name a user knows ("/dev/mapper/…" for a mapped device).
    std::string device;
    std::string preferredDevice;
    std::vector<std::string> symlinks;
    // The kernel's device number in the C library's encoding.
    std::uint64_t deviceNumber = 0;
    std::optional<std::string> drive;
    // For the cleartext side of an unlocked encrypted container: the container.
    std::optional<std::string> cryptoBackingDevice;
    // For a partition: the block device that holds its partition table.
    std::optional<std::string> partitionTable;
    // Present exactly when the block holds a file system; empty when it is not mounted.
    std::optional<std::vector<std::string>> mountPoints;
    bool isEncrypted = false;
    bool isLoop = false;
    // The service can stop swap on it.
    bool isSwap = false;

    bool operator==(const UDisks2Block&) const = default;
};

// One drive: the hardware behind one or more block devices.
struct UDisks2Drive {
    std::string path;
    bool canPowerOff = false;
    bool isEjectable = false;
    // The drive takes optical discs, whether one is in it or not.
    bool isOptical = false;

    bool operator==(const UDisks2Drive&) const = default;
};

// Everything the disk service manages, as read in one go.
struct UDisks2Objects {
    std::vector<UDisks2Block> blocks;
    std::vector<UDisks2Drive> drives;

    const UDisks2Block* block(const std::string& path) const;
    const UDisks2Drive* drive(const std::string& path) const;

    bool operator==(const UDisks2Objects&) const = default;
};

// A refused call: the service's error name and its text.
struct UDisks2Error {
    std::string name;
    std::string message;

    bool operator==(const UDisks2Error&) const = default;
};

}  // namespace kestrix
