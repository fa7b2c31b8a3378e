#pragma once

#include <string>
#include <vector>

namespace kestrix {

// Where the file system with this UUID is mounted: its device found as /dev/disk/by-uuid names it
// (libblkid, which falls back to its cache or, for root, to reading the disks), then its mounts
// in the mount table. Empty when it is not mounted or cannot be found.
std::vector<std::string> mountPointsOfUUID(const std::string& uuid,
                                           const std::string& mountInfoPath = "/proc/self/mountinfo");

}  // namespace kestrix
