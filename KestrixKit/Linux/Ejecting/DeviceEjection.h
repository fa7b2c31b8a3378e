#pragma once

#include <filesystem>

// The kernel requests that take a device away once its file systems are unmounted. Each
// returns 0 on success, else the errno of the failing step.
namespace kestrix::DeviceEjection {

// Detaches the loop device's backing image; a loop device with no image is already detached.
int detachLoop(const std::filesystem::path& deviceNode);

// Has the kernel detach the loop device by itself once nothing holds it any more (its last
// mount gone), so that an eject cut short between unmount and detach leaves no device behind.
int detachLoopWhenReleased(const std::filesystem::path& deviceNode);

// Stops swapping to the device (swapoff), moving what is swapped out back into memory first.
int stopSwap(const std::filesystem::path& deviceNode);

// Opens the tray of an optical drive.
int ejectMedia(const std::filesystem::path& deviceNode);

// Flushes the disk and removes it from the kernel through its sysfs "delete" attribute, which
// also spins it down. A disk that something still claims (a mount, a mapped device) is busy.
int powerOff(const std::filesystem::path& deviceNode, const std::filesystem::path& deleteAttribute);

}  // namespace kestrix::DeviceEjection
