#pragma once

#include <memory>

#include "KestrixKit/Simulated/SimulatedSystem.h"
#include "KestrixKit/Volumes/MountedVolumeSource.h"

namespace kestrix {

// The world's mounted volumes in file order, without the unreadable ones.
class SimulatedVolumeSource : public MountedVolumeSource {
public:
    explicit SimulatedVolumeSource(std::shared_ptr<const SimulatedSystem> system) : system_(std::move(system)) {}
    std::vector<MountedVolume> mountedVolumes() const override;

private:
    std::shared_ptr<const SimulatedSystem> system_;
};

}  // namespace kestrix
