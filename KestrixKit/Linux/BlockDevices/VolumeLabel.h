#pragma once

#include <optional>
#include <string>

#include "KestrixKit/Linux/BlockDevices/UdevBlockDevices.h"

namespace kestrix {

// The label of the file system on this block device; nothing when it has none. The device itself
// is the truth: udev's database is missing without a udev daemon and stale after a relabel it did
// not see, so the superblock is read whenever the device can be (as root), and the database
// answers only when it cannot.
std::optional<std::string> volumeLabel(const UdevBlockDevices& devices, const std::string& kernelName);

}  // namespace kestrix
