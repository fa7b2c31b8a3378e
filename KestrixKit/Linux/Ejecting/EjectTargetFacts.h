#pragma once

#include "KestrixKit/Linux/Ejecting/EjectMethod.h"

namespace kestrix {

// What sysfs tells about the device an eject is aimed at.
struct EjectTargetFacts {
    // The device is there, or sysfs cannot tell that it is gone.
    bool isBlockDevice = false;
    bool isLoop = false;
    // A SCSI device of type 5 (CD/DVD/BD drive).
    bool isOptical = false;
    // The SCSI layer can remove the device ("device/delete").
    bool canDelete = false;
    // Removable media, attached over USB, or on a SATA port marked hot-pluggable or external.
    bool isHotPluggable = false;

    EjectMethod method() const;

    bool operator==(const EjectTargetFacts&) const = default;
};

}  // namespace kestrix
