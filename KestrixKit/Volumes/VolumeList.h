#pragma once

#include <optional>
#include <vector>

#include "KestrixKit/Volumes/Drive.h"
#include "KestrixKit/Volumes/MountedVolume.h"
#include "KestrixKit/Volumes/MountedVolumeSource.h"
#include "KestrixKit/Volumes/VolumeFacts.h"
#include "KestrixKit/Volumes/VolumeFilter.h"

namespace kestrix::VolumeList {

// The drives the user can eject now, one per physical device, in enumeration order.
std::vector<Drive> drives(const MountedVolumeSource& source, VolumeFilter filter);

// The listed volume built from one mounted volume's facts, or nothing when it is not listed.
std::optional<DriveVolume> read(const MountedVolume& mounted, bool anyMountPoint);

// The classification facts of one mounted volume, with the defaults for unknown values.
VolumeFacts facts(const MountedVolume& mounted);

// One drive per grouping key (physical disk, whole disk, partition, mount path), in order of first appearance.
std::vector<Drive> group(const std::vector<DriveVolume>& volumes);

}  // namespace kestrix::VolumeList
