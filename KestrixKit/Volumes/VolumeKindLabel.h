#pragma once

#include <string>

#include "KestrixKit/Volumes/VolumeKind.h"

namespace kestrix {

// The kind's name as shown to users: "External drive", "Memory card", "Disk image", …
std::string label(VolumeKind kind);

}  // namespace kestrix
