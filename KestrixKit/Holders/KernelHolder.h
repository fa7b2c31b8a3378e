#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "KestrixKit/Holders/KernelHoldKind.h"

namespace kestrix {

// Something the kernel keeps a drive busy with: it has a name and a remedy, but no process
// holds a file for it.
struct KernelHolder {
    KernelHoldKind kind = KernelHoldKind::diskImage;
    // What the user knows it by: the image or swap file's path, the inner drive's name, the name
    // of the app or program that owns the other mount namespace, the stacked device's name.
    std::string name;
    // The kernel's device for it ("/dev/loop3", "/dev/sdb2", "/dev/dm-0"); empty for a namespace.
    std::string device;
    // Where it is mounted: a disk image that is a drive of its own, the drive inside, or the
    // drive's file system in the other namespace.
    std::optional<std::string> mountPath;
    // A mount namespace's: one of its processes, and the systemd unit or container it runs in.
    std::int32_t pid = 0;
    std::optional<std::string> unit;
    std::optional<std::string> container;

    bool operator==(const KernelHolder&) const = default;
};

}  // namespace kestrix
