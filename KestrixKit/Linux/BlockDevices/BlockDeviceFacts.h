#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrix {

// What udev and sysfs say about the disk behind a mounted volume, before any interpretation.
struct BlockDeviceFacts {
    std::string kernelName;                      // "sdb", "mmcblk0", "loop3", "sr0"
    std::optional<std::string> bus;              // udev ID_BUS
    std::vector<std::string> ancestorSubsystems; // the subsystems of the device's parents, nearest first
    std::optional<std::string> udevModel;        // ID_MODEL_ENC decoded, else ID_MODEL
    std::optional<std::string> sysfsModel;       // device/model
    bool removableFlag = false;                  // the kernel's "removable" attribute
    bool isCdrom = false;                        // ID_CDROM
    bool isFlashSd = false;                      // ID_DRIVE_FLASH_SD or ID_DRIVE_MEDIA_FLASH_SD
    bool hasBluRayDisc = false;                  // some ID_CDROM_MEDIA_BD* is set
    bool hasDvdDisc = false;                     // some ID_CDROM_MEDIA_DVD* is set

    bool operator==(const BlockDeviceFacts&) const = default;
};

}  // namespace kestrix
