#pragma once

#include <filesystem>

#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

// Whether every file system of a drive is really gone once it is unmounted here. A lazily detached
// mount lives on while a file is open on it, and so does a mount in another mount namespace, or a
// file system that backs a loop device or a swap area: until then the device must stay. Where the
// device can be opened exclusively the kernel answers; where it may not be opened at all (an
// ordinary user), it counts as released once it has no holders, is in no mount table this process
// can see and no file-system instance of it is left in sysfs. A device that is gone is released.
bool isReleased(const Drive& drive, const std::filesystem::path& devRoot = "/dev",
                const std::filesystem::path& sysfsRoot = "/sys", const std::string& mountInfo = "/proc/self/mountinfo");

}  // namespace kestrix
