#pragma once

#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Ejection/UnmountKey.h"
#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

// The requests one eject makes: an unmount per distinct key in volume order, then one eject of
// the device.
struct EjectPlan {
    struct Unmount {
        UnmountKey key;
        // The first volume with this key; refusals are reported under its name.
        DriveVolume volume;
        bool operator==(const Unmount&) const = default;
    };

    std::vector<Unmount> unmounts;
    // The physical disk, else the whole disk, of the first volume that has one; absent for a
    // drive with no device (a network share), which counts as ejected once unmounted.
    std::optional<std::string> ejectTarget;

    static EjectPlan of(const Drive& drive);

    bool operator==(const EjectPlan&) const = default;
};

}  // namespace kestrix
