#include "KestrixKit/Linux/Mounts/MountPointStatus.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace kestrix {

std::uint32_t kernelDeviceNumber(std::uint64_t glibcDevice) {
    // glibc keeps major bits 0-11 at bits 8-19 and minor bits 8-19 at bits 20-31; the higher
    // bits it stores above bit 31 do not exist in the kernel (12-bit majors, 20-bit minors), so
    // the low 32 bits are exactly the kernel's encoding.
    return static_cast<std::uint32_t>(glibcDevice & 0xffffffffu);
}

std::optional<std::uint64_t> byteCount(std::uint64_t blocks, std::uint64_t fragmentSize) {
    std::uint64_t bytes = 0;
    if (__builtin_mul_overflow(blocks, fragmentSize, &bytes)) return std::nullopt;
    return bytes;
}

std::optional<MountPointStatus> readMountPointStatus(const std::string& mountPath) {
    struct stat fileStatus {};
    struct statvfs volumeStatus {};
    if (stat(mountPath.c_str(), &fileStatus) != 0) return std::nullopt;
    if (statvfs(mountPath.c_str(), &volumeStatus) != 0) return std::nullopt;
    return MountPointStatus{
        .device = kernelDeviceNumber(fileStatus.st_dev),
        .totalBytes = byteCount(volumeStatus.f_blocks, volumeStatus.f_frsize),
        .freeBytes = byteCount(volumeStatus.f_bavail, volumeStatus.f_frsize),
    };
}

}  // namespace kestrix
