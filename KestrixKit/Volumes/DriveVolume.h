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
    // What tells this volume's device from a later one under the same name ("diskseq:42"), so
    // that an eject never touches a drive attached after the listing; absent when the system
    // cannot tell (a network share, a simulated drive).
    std::optional<std::string> identity;
    // The file that the disk image's device serves, when the volume lies on an attached disk
    // image ("/media/me/Stick/disk.img").
    std::optional<std::string> imageFile;

    const std::string& id() const { return mountPath; }
    bool operator==(const DriveVolume&) const = default;
};

}  // namespace kestrix
