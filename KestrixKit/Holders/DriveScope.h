#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "KestrixKit/Holders/VnodeRef.h"

namespace kestrix {

// The volumes of one drive, and whether a file-system object lies on them.
struct DriveScope {
    std::set<std::uint32_t> devices;
    std::vector<std::string> mountPaths;

    // On one of the drive's devices (a device of 0 is on none), or under one of its mount paths.
    bool contains(const VnodeRef& reference) const;
    bool containsDevice(std::uint32_t device) const { return device != 0 && devices.contains(device); }
    bool containsPath(std::string_view path) const { return isUnder(path, mountPaths); }
    // No device and no mount path: nothing lies on it.
    bool isEmpty() const { return devices.empty() && mountPaths.empty(); }

    bool operator==(const DriveScope&) const = default;

    // The path equals a mount path (without one trailing "/") or lies below it; the first match
    // decides and the comparison is case-sensitive.
    static bool isUnder(std::string_view path, const std::vector<std::string>& mountPaths);
};

}  // namespace kestrix
