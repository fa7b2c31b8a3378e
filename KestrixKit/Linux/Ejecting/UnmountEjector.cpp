#include "KestrixKit/Linux/Ejecting/UnmountEjector.h"

#include <algorithm>
#include <cerrno>
#include <sys/mount.h>
#include <system_error>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Ejection/EjectPlan.h"
#include "KestrixKit/Ejection/UnixRefusal.h"
#include "KestrixKit/Holders/DriveScope.h"
#include "KestrixKit/Holders/KernelRemedy.h"
#include "KestrixKit/Linux/BlockDevices/BlockDevices.h"
#include "KestrixKit/Linux/Ejecting/DeviceEjection.h"
#include "KestrixKit/Linux/Mounts/DiskMounts.h"
#include "KestrixKit/Linux/Ejecting/EjectTargetSysfs.h"
#include "KestrixKit/Linux/Ejecting/FileSystemRelease.h"
#include "KestrixKit/Linux/Mounts/InnerDriveName.h"
#include "KestrixKit/Linux/Mounts/MountEntries.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix {
namespace {

std::string errorText(int errorNumber) { return std::generic_category().message(errorNumber); }

std::vector<std::string> volumeMountPoints(const Drive& drive, const UnmountKey& key) {
    std::vector<std::string> paths;
    for (const DriveVolume& volume : drive.volumes) {
        if (UnmountKey::of(volume) == key) paths.push_back(volume.mountPath);
    }
    return paths;
}

// The mount points one unmount request covers, read afresh because earlier requests change them.
std::vector<std::string> mountPointsFor(const EjectPlan::Unmount& unmount, const Drive& drive,
                                        const UnmountEjector::Paths& paths) {
    if (!unmount.key.isWholeDisk) return {unmount.volume.mountPath};
    const std::vector<std::string> ownPaths = volumeMountPoints(drive, unmount.key);
    const std::optional<std::vector<MountEntry>> mounts = readMountEntries(paths.mountInfo);
    if (!mounts) return ownPaths;
    return DiskMounts::unmountOrder(unmount.key.value, ownPaths, readBlockDevices(paths.sysfsRoot), *mounts);
}

std::filesystem::path deviceNode(const UnmountEjector::Paths& paths, std::string kernelName) {
    // sysfs writes the "/" of a device name below /dev as "!".
    std::replace(kernelName.begin(), kernelName.end(), '!', '/');
    return paths.devRoot / kernelName;
}

int ejectDevice(EjectMethod method, const std::string& kernelName, const UnmountEjector::Paths& paths) {
    const std::filesystem::path node = deviceNode(paths, kernelName);
    switch (method) {
    case EjectMethod::detachLoop:
        return DeviceEjection::detachLoop(node);
    case EjectMethod::ejectMedia:
        return DeviceEjection::ejectMedia(node);
    case EjectMethod::powerOff:
        return DeviceEjection::powerOff(node, paths.sysfsRoot / "class" / "block" / kernelName / "device" / "delete");
    case EjectMethod::nothingToEject:
    case EjectMethod::unsupported:
        break;
    }
    return 0;
}

std::optional<MountEntry> otherDriveInside(const Drive& drive, const UnmountEjector::Paths& paths) {
    const std::optional<std::vector<MountEntry>> mounts = readMountEntries(paths.mountInfo);
    if (!mounts) return std::nullopt;
    return DiskMounts::otherDriveInside(drive, readBlockDevices(paths.sysfsRoot), *mounts);
}

EjectOutcome innerDriveRefusal(const MountEntry& inner, const Drive& drive) {
    const std::string innerName = innerDriveName(inner);
    const auto outer = std::find_if(drive.volumes.begin(), drive.volumes.end(), [&](const DriveVolume& volume) {
        return DriveScope::isUnder(inner.mountPoint, {volume.mountPath});
    });
    return {EjectOutcome::Failed{
        .volume = outer == drive.volumes.end() ? drive.name() : outer->name,
        .status = DAStatus::unixBusy,
        .message = localizedFormat("%1 is mounted inside it; eject %1 first", {innerName}),
    }};
}

// A mount point that is no longer one was unmounted meanwhile, from outside.
bool isStillMounted(const std::string& mountPoint, const UnmountEjector::Paths& paths) {
    const std::optional<std::vector<MountEntry>> mounts = readMountEntries(paths.mountInfo);
    return !mounts || std::any_of(mounts->begin(), mounts->end(),
                                  [&](const MountEntry& mount) { return mount.mountPoint == mountPoint; });
}

}  // namespace

EjectOutcome UnmountEjector::eject(const Drive& drive, bool force) {
    const EjectPlan plan = EjectPlan::of(drive);
    if (const std::optional<MountEntry> inner = otherDriveInside(drive, paths_)) {
        return innerDriveRefusal(*inner, drive);
    }
    const EjectMethod method = plan.ejectTarget ? readEjectTargetFacts(paths_.sysfsRoot, *plan.ejectTarget).method()
                                                : EjectMethod::nothingToEject;
    // Best effort: without it, the loop device is still detached below.
    if (method == EjectMethod::detachLoop) DeviceEjection::detachLoopWhenReleased(deviceNode(paths_, *plan.ejectTarget));

    // A plain forced unmount does not free a busy local file system; detaching does.
    const int flags = force ? MNT_FORCE | MNT_DETACH : 0;
    for (const EjectPlan::Unmount& unmount : plan.unmounts) {
        for (const std::string& mountPoint : mountPointsFor(unmount, drive, paths_)) {
            if (umount2(mountPoint.c_str(), flags) != 0) {
                const int error = errno;
                if (error == EINVAL && !isStillMounted(mountPoint, paths_)) continue;
                return UnixRefusal::unmount(error, unmount.volume.name, errorText(error));
            }
        }
    }
    // Unmounted here is not yet gone: the device stays while its file systems live on.
    if (!isReleased(drive, paths_.devRoot, paths_.sysfsRoot, paths_.mountInfo)) return {EjectOutcome::Detached{}};
    if (method == EjectMethod::nothingToEject) return {EjectOutcome::Ejected{}};
    if (method == EjectMethod::unsupported) return {EjectOutcome::UnmountedOnly{}};
    const int error = ejectDevice(method, *plan.ejectTarget, paths_);
    if (error == 0) return {EjectOutcome::Ejected{}};
    return UnixRefusal::eject(error, drive.name());
}

ReleaseOutcome UnmountEjector::release(const KernelHolder& holder) {
    const std::optional<KernelRemedy> remedy = kernelRemedy(holder);
    const std::filesystem::path node(holder.device);
    // Only a device node below /dev, and for a detach only a loop device: the kernel would take
    // any other device's call for its own.
    const bool isDeviceNode = node.is_absolute() && node.parent_path() == paths_.devRoot;
    int error = EOPNOTSUPP;
    if (isDeviceNode && remedy == KernelRemedy::detachImage && node.filename().string().starts_with("loop")) {
        error = DeviceEjection::detachLoop(node);
    } else if (isDeviceNode && remedy == KernelRemedy::stopSwap) {
        error = DeviceEjection::stopSwap(node);
    }
    if (error == 0) return {.released = true, .message = std::nullopt};
    return {.released = false, .message = errorText(error)};
}

}  // namespace kestrix
