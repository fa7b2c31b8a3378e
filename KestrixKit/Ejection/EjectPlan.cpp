#include "KestrixKit/Ejection/EjectPlan.h"

#include <set>

namespace kestrix {

EjectPlan EjectPlan::of(const Drive& drive) {
    EjectPlan plan;
    std::set<std::string> handled;
    for (const DriveVolume& volume : drive.volumes) {
        UnmountKey key = UnmountKey::of(volume);
        if (handled.insert(key.value).second) plan.unmounts.push_back({std::move(key), volume});
        if (!plan.ejectTarget) plan.ejectTarget = volume.physicalDisk ? volume.physicalDisk : volume.wholeDisk;
    }
    return plan;
}

}  // namespace kestrix
