#pragma once

#include <filesystem>
#include <optional>
#include <string>

// How block devices sit on one another, read from sysfs (its root is a parameter so that a test
// can lay out its own tree).
namespace kestrix::DiskStacking {

// The kernel name of the whole disk that holds this block device: the disk itself for a whole
// disk or a device-mapper or md device, the parent disk for a partition; nothing when sysfs does
// not know the device.
std::optional<std::string> wholeDisk(const std::filesystem::path& sysfsRoot, const std::string& kernelName);

// The first whole disk stacked on nothing that the "slaves" links lead to from this whole disk
// (dm-crypt, LVM or md on a physical disk), following the first link at each level, at most
// twelve levels deep; nothing when the disk is stacked on nothing itself or the walk gets lost.
std::optional<std::string> physicalDisk(const std::filesystem::path& sysfsRoot, const std::string& wholeDiskName);

}  // namespace kestrix::DiskStacking
