#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <unordered_set>
#include <vector>

#include "KestrixKit/Holders/DriveScope.h"
#include "KestrixKit/Linux/Mounts/MountEntry.h"

namespace kestrix {

// What one statx call tells of an open descriptor's target.
struct DescriptorFacts {
    std::uint32_t device = 0;
    std::optional<std::uint64_t> mountID;  // absent when the kernel does not report it
};

// Which descriptors of a scan for one drive need their path read, decided from their device and
// mount alone. The kernel shows a descriptor's path as its mount's target followed by the path
// inside that mount, so a file on a known mount of another device whose target is not at or
// below a drive mount path cannot match by path. Everything else is read: the drive's devices,
// the drive's own mounts (a btrfs subvolume's files report a device of their own), foreign file
// systems mounted inside the drive, and mounts this namespace does not show (another process's
// namespace, detached mounts) unless they are the kernel's pipes, sockets and anonymous inodes,
// whose paths never start with "/". When a drive mount path is not where one of the drive's
// volumes is mounted, every path is read. One kind is left out on purpose: a file of the file system
// beneath a drive's mount point, opened before the drive covered it, shows a path inside the
// drive without being on it and does not keep the drive busy.
class ProcfsFastScan {
public:
    ProcfsFastScan(const DriveScope& drive, const std::vector<MountEntry>& mounts,
                   std::set<std::uint32_t> kernelOnlyDevices);

    bool needsPath(const DescriptorFacts& descriptor) const;

private:
    std::set<std::uint32_t> driveDevices_;
    std::unordered_set<std::uint64_t> mountsOffTheDrive_;
    std::set<std::uint32_t> kernelOnlyDevices_;
};

}  // namespace kestrix
