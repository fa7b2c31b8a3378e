#pragma once

#include <optional>

#include "KestrixKit/Holders/KernelHolder.h"

namespace kestrix {

// What the app can do itself about something the kernel holds a drive with.
enum class KernelRemedy {
    // A disk image that is mounted is a drive of its own: eject it, through the usual eject.
    ejectImage,
    // A disk image attached and not mounted: detach its loop device.
    detachImage,
    // Swap on a whole partition: stop it through the disk service. A swap file is stopped with
    // swapoff by an administrator, which the app does not offer.
    stopSwap,
};

// Absent where only the user can act (the advice says how).
std::optional<KernelRemedy> kernelRemedy(const KernelHolder& holder);

}  // namespace kestrix
