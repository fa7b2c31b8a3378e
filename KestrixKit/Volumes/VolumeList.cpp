#include "KestrixKit/Volumes/VolumeList.h"

#include <map>

#include "KestrixKit/Text/PlainText.h"
#include "KestrixKit/Volumes/VolumeRules.h"

namespace kestrix::VolumeList {
namespace {

std::string groupingKey(const DriveVolume& volume) {
    if (volume.kind == VolumeKind::networkShare) return volume.mountPath;
    if (volume.physicalDisk) return *volume.physicalDisk;
    if (volume.wholeDisk) return *volume.wholeDisk;
    if (volume.bsdName) return *volume.bsdName;
    return volume.mountPath;
}

}  // namespace

VolumeFacts facts(const MountedVolume& mounted) {
    return VolumeFacts{
        .path = mounted.path,
        .isRoot = mounted.isRootFileSystem.value_or(false),
        .isInternal = mounted.isInternal.value_or(false),
        .isEjectable = mounted.isEjectable.value_or(false),
        .isRemovable = mounted.isRemovable.value_or(false),
        .isLocal = mounted.isLocal.value_or(true),
        .deviceModel = mounted.deviceModel,
        .deviceProtocol = mounted.deviceProtocol,
        .mediaKind = mounted.mediaKind,
    };
}

std::optional<DriveVolume> read(const MountedVolume& mounted, bool anyMountPoint) {
    const std::optional<VolumeKind> kind = VolumeRules::kind(facts(mounted), anyMountPoint);
    if (!kind) return std::nullopt;

    DriveVolume volume;
    volume.name = mounted.name.value_or(text::lastPathComponent(mounted.path));
    volume.mountPath = mounted.path;
    if (mounted.mountSource && mounted.mountSource->starts_with("/dev/")) volume.bsdName = mounted.mountSource->substr(5);
    if (mounted.wholeDisk) {
        volume.wholeDisk = mounted.wholeDisk;
        volume.physicalDisk = mounted.physicalDisk.value_or(*mounted.wholeDisk);
    }
    volume.device = mounted.device;
    volume.kind = *kind;
    volume.fileSystem = mounted.fileSystem;
    volume.totalBytes = mounted.totalCapacity.value_or(0);
    volume.freeBytes = mounted.availableCapacity.value_or(0);
    volume.isReadOnly = mounted.isReadOnly.value_or(false);
    volume.identity = mounted.identity;
    volume.imageFile = mounted.imageFile;
    return volume;
}

std::vector<Drive> group(const std::vector<DriveVolume>& volumes) {
    std::vector<Drive> drives;
    std::map<std::string, std::size_t> indexByKey;
    for (const DriveVolume& volume : volumes) {
        const std::string key = groupingKey(volume);
        const auto [entry, isNew] = indexByKey.try_emplace(key, drives.size());
        if (isNew) drives.push_back(Drive{.id = key, .volumes = {}});
        drives[entry->second].volumes.push_back(volume);
    }
    return drives;
}

std::vector<Drive> drives(const MountedVolumeSource& source, VolumeFilter filter) {
    std::vector<DriveVolume> kept;
    for (const MountedVolume& mounted : source.mountedVolumes()) {
        std::optional<DriveVolume> volume = read(mounted, false);
        if (volume && filter.allows(volume->kind)) kept.push_back(std::move(*volume));
    }
    return group(kept);
}

}  // namespace kestrix::VolumeList
