#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "KestrixKit/Volumes/DriveVolume.h"

namespace kestrix {

// One ejectable device with all of its mounted volumes, in enumeration order.
struct Drive {
    std::string id;
    std::vector<DriveVolume> volumes;

    // The volume names joined with ", ".
    std::string name() const;
    std::vector<std::string> mountPaths() const;
    std::set<std::uint32_t> devices() const;
    VolumeKind kind() const;
    // Summed over the drive's file systems, each once however often it is mounted.
    std::uint64_t totalBytes() const;
    std::uint64_t freeBytes() const;

    // Whether a name given from outside (a link, a scripted action) designates this drive:
    // whole-name equality, ignoring case and diacritics, against a volume or the joined name.
    bool matches(std::string_view query) const;

    bool operator==(const Drive&) const = default;
};

}  // namespace kestrix
