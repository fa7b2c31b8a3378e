#pragma once

#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Linux/Mounts/MountEntry.h"

namespace kestrix {

// The mounts of a mountinfo file (normally /proc/self/mountinfo), in mount order; absent when it
// cannot be read. Malformed lines are skipped.
std::optional<std::vector<MountEntry>> readMountEntries(const std::string& mountInfoPath);

}  // namespace kestrix
