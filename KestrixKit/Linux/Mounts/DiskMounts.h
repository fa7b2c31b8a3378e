#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "KestrixKit/Linux/BlockDevices/BlockDevice.h"
#include "KestrixKit/Linux/Mounts/MountEntry.h"
#include "KestrixKit/Volumes/Drive.h"

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

// The first mount inside the drive's folders that is another drive's file system: one on a block
// device that is not the drive's, or a network share. Unmounting the drive would take it along
// (a forced unmount detaches it, and a loop device beneath stays attached), so it goes first.
// The drive's own mounts and file systems of no device (tmpfs) are none.
std::optional<MountEntry> otherDriveInside(const Drive& drive, const std::vector<BlockDevice>& devices,
                                           const std::vector<MountEntry>& mounts);

}  // namespace kestrix::DiskMounts
