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

    // The label of the file system on this device, decoded, or nothing when it has none.
    std::optional<std::string> fileSystemLabel(const std::string& kernelName) const;

    std::optional<BlockDeviceFacts> facts(const std::string& kernelName) const;

private:
    std::shared_ptr<struct udev> context_;
};

}  // namespace kestrix
