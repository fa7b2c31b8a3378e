#pragma once

#include <vector>

#include "KestrixKit/Volumes/MountedVolume.h"

namespace kestrix {

// Where the listing learns which volumes are mounted: the running system or a simulated one.
class MountedVolumeSource {
public:
    virtual ~MountedVolumeSource() = default;
    // Every mounted volume whose facts could be read, in the system's enumeration order.
    virtual std::vector<MountedVolume> mountedVolumes() const = 0;
};

}  // namespace kestrix
