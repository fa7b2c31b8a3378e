#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "KestrixKit/Holders/DriveScope.h"
#include "KestrixKit/Linux/Mounts/MountEntry.h"

namespace kestrix {

// What one statx call tells of a file: the device it lies on and the mount it was reached through.
struct FileFacts {
    std::uint32_t device = 0;  // 0 when none is known
    std::optional<std::uint64_t> mountID;  // absent when the kernel does not report it

    bool operator==(const FileFacts&) const = default;
};

// Where a file lies for a scan of one drive, told from its device and mount before its path is
// read: that read is most of a scan's cost.
enum class Placement {
    onDrive,
    offDrive,
    // On a file system mounted inside the drive, which keeps the drive busy; the path decides
    // (the same file system may also be mounted elsewhere).
    onDriveIfUnderItsPaths,
};

// The device rule of a scan on the real system, with the mounts of this namespace. A file on
// one of the drive's devices, or reached through one of the drive's mounts (a btrfs subvolume's
// files report a device of their own), is on the drive. A file on another device is not, whatever
// its path says: the folder beneath a mount point, which a process entered before the drive
// covered it, and another mount namespace's file at the same path lie elsewhere. The exception is
// a file system mounted inside the drive, judged by its path.
class ProcfsFastScan {
public:
    // The drive is expected to be mounted at its mount paths (see mountedPartOf).
    ProcfsFastScan(const DriveScope& drive, const std::vector<MountEntry>& mounts);

    Placement place(const FileFacts& file) const;

private:
    std::set<std::uint32_t> driveDevices_;
    std::unordered_set<std::uint64_t> driveMounts_;
    std::set<std::uint32_t> innerDevices_;
};

// The part of the drive that is mounted where it says, from the mounts of this namespace and the
// facts of each mount path (absent when it cannot be examined): a mount path counts when the
// mount it shows is one of this namespace's mounts at exactly that path, on one of the drive's
// devices. A folder left behind by an unmount shows the file system above it, which is no mount
// at that path.
DriveScope mountedPartOf(const DriveScope& drive, const std::vector<MountEntry>& mounts,
                         const std::function<std::optional<FileFacts>(const std::string& path)>& factsOf);

}  // namespace kestrix
