#pragma once

#include <optional>

#include "KestrixKit/Volumes/VolumeFacts.h"
#include "KestrixKit/Volumes/VolumeKind.h"

namespace kestrix::VolumeRules {

// The kind of a mounted volume, or nothing when it is not listed. Unless anyMountPoint is set,
// only volumes mounted where removable media are mounted qualify.
std::optional<VolumeKind> kind(const VolumeFacts& facts, bool anyMountPoint);

}  // namespace kestrix::VolumeRules
