#pragma once

#include <string>

#include "KestrixKit/Ejection/FlushProgress.h"

namespace kestrix {

// What the user reads while the kernel writes out a drive's data before the eject: "Writing
// 38 MB to SLOW… Don’t unplug it yet (about 19 s left)."
std::string flushMessage(const std::string& driveName, const FlushProgress& progress);

}  // namespace kestrix
