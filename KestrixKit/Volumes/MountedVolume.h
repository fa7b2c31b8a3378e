#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix {

// The raw facts a system reports about one mounted volume whose values could be read.
// Unknown values stay absent; the listing applies the defaults.
struct MountedVolume {
    std::string path;
    std::optional<std::string> name;
    std::optional<std::uint64_t> totalCapacity;
    std::optional<std::uint64_t> availableCapacity;
    std::optional<bool> isInternal;
    std::optional<bool> isEjectable;
    std::optional<bool> isRemovable;
    std::optional<bool> isLocal;
    std::optional<bool> isRootFileSystem;
    std::optional<bool> isReadOnly;
    std::optional<std::string> mountSource;
    std::string fileSystem;
    std::uint32_t device = 0;
    std::optional<std::string> deviceModel;
    std::optional<std::string> deviceProtocol;
    std::optional<std::string> mediaKind;
    std::optional<std::string> wholeDisk;
    // Absent with a whole disk present means the whole disk is the physical disk.
    std::optional<std::string> physicalDisk;
    // The device's identity across a reused name (see DriveVolume::identity).
    std::optional<std::string> identity;
    // The file a disk image's device serves (see DriveVolume::imageFile).
    std::optional<std::string> imageFile;

    bool operator==(const MountedVolume&) const = default;
};

}  // namespace kestrix
