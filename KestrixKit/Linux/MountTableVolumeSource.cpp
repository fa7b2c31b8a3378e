#include "KestrixKit/Linux/MountTableVolumeSource.h"

namespace kestrix {

std::vector<MountedVolume> MountTableVolumeSource::mountedVolumes() const { return {}; }

}  // namespace kestrix
