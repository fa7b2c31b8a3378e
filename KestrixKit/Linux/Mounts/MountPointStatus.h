#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix {

// What stat and statvfs report for a mount point.
struct MountPointStatus {
    std::uint32_t device = 0;  // st_dev, the number every file on the volume reports
    std::optional<std::uint64_t> totalBytes;
    std::optional<std::uint64_t> freeBytes;

    bool operator==(const MountPointStatus&) const = default;
};

// The status of this machine's mount point, or nothing when stat or statvfs fails on it.
std::optional<MountPointStatus> readMountPointStatus(const std::string& mountPath);

// glibc's dev_t as the 32-bit number the kernel itself uses (new_encode_dev), which is what
// /proc shows for open files: (minor & 0xff) | (major << 8) | ((minor & ~0xff) << 12).
std::uint32_t kernelDeviceNumber(std::uint64_t glibcDevice);

// A statvfs block count times the fragment size, or nothing when the product does not fit.
std::optional<std::uint64_t> byteCount(std::uint64_t blocks, std::uint64_t fragmentSize);

}  // namespace kestrix
