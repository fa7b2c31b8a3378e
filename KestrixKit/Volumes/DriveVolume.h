#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "KestrixKit/Volumes/VolumeKind.h"

namespace kestrix {

// One mounted volume. Identified by its mount path; equality covers every field.
struct DriveVolume {
    std::string name;
    std::string mountPath;
    std::optional<std::string> bsdName;
    std::optional<std::string> wholeDisk;
    std::optional<std::string> physicalDisk;
    std::uint32_t device = 0;
    VolumeKind kind = VolumeKind::externalDrive;
    std::string fileSystem;
    std::uint64_t totalBytes = 0;
    std::uint64_t freeBytes = 0;
    bool isReadOnly = false;

    const std::string& id() const { return mountPath; }
    bool operator==(const DriveVolume&) const = default;
};

}  // namespace kestrix
