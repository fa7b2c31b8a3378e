#pragma once

#include <functional>
#include <optional>
#include <string>

#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

// A volume's identity as the system tells it now; absent when its device is gone.
using VolumeIdentityReader = std::function<std::optional<std::string>(const DriveVolume& volume)>;

// Whether the drive's devices are still the ones it was listed with: every volume listed with an
// identity shows that same identity now. A device name reused by a drive attached later (a loop
// device given another image) shows another one, and a device that is gone shows none. A volume
// listed without an identity cannot tell and counts as unchanged.
bool isSameDrive(const Drive& drive, const VolumeIdentityReader& identityNow);

}  // namespace kestrix
