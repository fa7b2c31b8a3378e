#pragma once

#include "KestrixKit/Volumes/MountedVolumeSource.h"

namespace kestrix {

// This machine's mounted volumes: the mount table through libmount, statvfs and stat of each
// mount point, device facts from libudev and the stacking links in sysfs.
class MountTableVolumeSource : public MountedVolumeSource {
public:
    std::vector<MountedVolume> mountedVolumes() const override;
};

}  // namespace kestrix
