#pragma once

#include <string>

#include "KestrixKit/Volumes/DriveVolume.h"

namespace kestrix {

// What one unmount request of an eject is aimed at: a whole disk (every file system on it in
// one request), else the volume alone. Volumes with equal keys share one request.
struct UnmountKey {
    std::string value;
    bool isWholeDisk = false;

    // The volume's whole disk, else its device name, else its mount path.
    static UnmountKey of(const DriveVolume& volume);

    bool operator==(const UnmountKey&) const = default;
};

}  // namespace kestrix
