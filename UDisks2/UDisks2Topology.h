#pragma once

#include <optional>
#include <string>
#include <vector>

#include "UDisks2/UDisks2Objects.h"
#include "KestrixKit/Ejection/EjectPlan.h"
#include "KestrixKit/Linux/Ejecting/EjectMethod.h"

// Where the parts of a drive sit among the disk service's objects: which file systems an unmount
// request covers, which encrypted containers stay open, and how the device goes away.
namespace kestrix::UDisks2Topology {

// The block device that a kernel name ("sdb", "dm-0", "mapper!luks-1" as sysfs writes it) or a
// name below /dev ("mapper/luks-1") designates: its node, its preferred name or one of its links.
const UDisks2Block* blockNamed(const UDisks2Objects& objects, const std::string& name);

// The block device of a mounted volume: by its device name, else its mount point, else its
// device number.
const UDisks2Block* blockOf(const UDisks2Objects& objects, const DriveVolume& volume);

// The mounted file systems (object paths) one unmount request covers, deepest mount point first:
// for a whole disk those of the disk, its partitions and the unlocked containers on them, else the
// volume's own. Nothing when the service does not know the target.
std::optional<std::vector<std::string>> fileSystemsToUnmount(const UDisks2Objects& objects,
                                                             const EjectPlan::Unmount& unmount);

// The unlocked encrypted containers (object paths) on a disk or its partitions, innermost first.
std::vector<std::string> containersToLock(const UDisks2Objects& objects, const UDisks2Block& disk);

// What ejects a device whose file systems are unmounted, and the object to ask.
struct EjectStep {
    EjectMethod method = EjectMethod::nothingToEject;
    std::string path;
    bool operator==(const EjectStep&) const = default;
};

// A loop device is deleted; a drive takes out its disc when it takes optical media, is powered
// off when it can be, and else ejected when it is ejectable. An absent disk is already gone.
EjectStep ejectStep(const UDisks2Objects& objects, const UDisks2Block* disk);

}  // namespace kestrix::UDisks2Topology
