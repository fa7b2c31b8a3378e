#pragma once

#include <filesystem>
#include <vector>

#include "KestrixKit/Linux/BlockDevices/BlockDevice.h"

namespace kestrix {

// Every block device under <sysfsRoot>/class/block, with its partitions and slaves; empty when
// sysfs cannot be read.
std::vector<BlockDevice> readBlockDevices(const std::filesystem::path& sysfsRoot);

}  // namespace kestrix
