#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "KestrixKit/Volumes/MountedVolumeSource.h"

namespace kestrix {

// This machine's mounted volumes: the mount table through libmount, statvfs and stat of each
// mount point, device facts from libudev and the stacking links in sysfs, labels from the
// devices themselves. A volume is a visible mount of a block device or of a network file system.
class MountTableVolumeSource : public MountedVolumeSource {
public:
    using StatusReader = std::function<std::optional<MountPointStatus>(const std::string& mountPath)>;

    // This process's own mount table and this machine's sysfs and mount points.
    MountTableVolumeSource();
    // A given mount table, sysfs tree and mount point status, so that a test can supply its own.
    MountTableVolumeSource(std::string mountInfoPath, std::filesystem::path sysfsRoot, StatusReader statusOf);

    // Mount points whose status cannot be read are left out.
    std::vector<MountedVolume> mountedVolumes() const override;

private:
    std::string mountInfoPath_;
    std::filesystem::path sysfsRoot_;
    StatusReader statusOf_;
};

}  // namespace kestrix
