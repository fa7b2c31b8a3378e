#include "KestrixKit/Simulated/SimulatedVolumeSource.h"

namespace kestrix {

std::vector<MountedVolume> SimulatedVolumeSource::mountedVolumes() const {
    std::vector<MountedVolume> volumes;
    for (const WorldVolume& volume : system_->world().volumes) {
        if (!volume.unreadable) volumes.push_back(volume.facts);
    }
    return volumes;
}

}  // namespace kestrix
