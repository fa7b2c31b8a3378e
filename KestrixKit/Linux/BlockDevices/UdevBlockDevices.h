#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>

#include "KestrixKit/Linux/BlockDevices/BlockDeviceFacts.h"

struct udev;

namespace kestrix {

// Block devices as libudev sees them: which device a mount uses, its file-system label and the
// raw facts about a disk. Unknown devices and properties simply stay absent.
class UdevBlockDevices {
public:
    UdevBlockDevices();

    // The kernel name of the device with this number, or else of the device node a mount source
    // names (file systems such as btrfs report a device number of their own).
    std::optional<std::string> kernelName(dev_t deviceNumber, const std::optional<std::string>& mountSource) const;

    // The label udev's database keeps for the file system on this device, decoded; nothing when
    // it has none. Only as current as the database: without a udev daemon it is missing or stale.
    std::optional<std::string> fileSystemLabel(const std::string& kernelName) const;

    // The device's node ("/dev/sdb1"), as the kernel names it.
    std::optional<std::string> deviceNode(const std::string& kernelName) const;

    std::optional<BlockDeviceFacts> facts(const std::string& kernelName) const;

private:
    std::shared_ptr<struct udev> context_;
};

}  // namespace kestrix
