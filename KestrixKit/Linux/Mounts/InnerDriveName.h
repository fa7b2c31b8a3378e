#pragma once

#include <string>

#include "KestrixKit/Linux/Mounts/MountEntry.h"

namespace kestrix {

// A drive mounted inside another, named as the drive list names it: by its label, else by the
// folder it is mounted on.
std::string innerDriveName(const MountEntry& inner);

}  // namespace kestrix
