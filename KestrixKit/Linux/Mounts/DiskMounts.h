#pragma once

#include <set>
#include <string>
#include <vector>

#include "KestrixKit/Linux/BlockDevices/BlockDevice.h"
#include "KestrixKit/Linux/Mounts/MountEntry.h"

// Which mounts lie on a whole disk: its own, its partitions', and those of every device stacked
// on them (an opened encrypted partition, an array member).
namespace kestrix::DiskMounts {

// The disk, its partitions and everything built on them, by kernel name.
std::set<std::string> devicesOn(const std::string& disk, const std::vector<BlockDevice>& devices);

// What unmounting a whole disk unmounts: the mounts of the disk's devices, and the drive's own
// mount points on it (in case the device tables miss one), each as often as it is mounted.
// Deepest first, so that a file system mounted inside another goes before it; at equal depth
// the later mount goes first.
std::vector<std::string> unmountOrder(const std::string& disk, const std::vector<std::string>& volumeMountPoints,
                                      const std::vector<BlockDevice>& devices, const std::vector<MountEntry>& mounts);

}  // namespace kestrix::DiskMounts
