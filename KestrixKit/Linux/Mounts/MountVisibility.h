#pragma once

#include <vector>

#include "KestrixKit/Linux/Mounts/MountEntry.h"

namespace kestrix {

// The mounts a path lookup can reach, in table order. A mount on the folder of another mount
// (its parent, at the same path) covers it, and whatever was mounted inside the covered one is
// out of reach too; a table without a mount's parent (a chroot's view) takes the mount as reachable.
std::vector<MountEntry> visibleMounts(const std::vector<MountEntry>& mounts);

}  // namespace kestrix
