#pragma once

#include <optional>
#include <string_view>

namespace kestrix {

// How the kernel itself keeps a drive busy, with no process holding a file on it.
enum class KernelHoldKind {
    // A loop device whose backing file lies on the drive.
    diskImage,
    // A swap file on the drive, or a swap partition of it.
    swapArea,
    // Another drive's file system mounted on a folder inside the drive.
    innerMount,
    // Another mount namespace that still has one of the drive's file systems mounted.
    mountNamespace,
    // A device-mapper, md or bcache device built on one of the drive's devices.
    stackedDevice,
};

std::string_view rawValue(KernelHoldKind kind);
std::optional<KernelHoldKind> kernelHoldKindFromRawValue(std::string_view raw);

}  // namespace kestrix
