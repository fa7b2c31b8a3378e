#include "KestrixKit/Linux/Kernel/LinuxKernelHolders.h"

#include <algorithm>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <system_error>

#include "KestrixKit/Holders/DriveScope.h"
#include "KestrixKit/Linux/Apps/AppCgroup.h"
#include "KestrixKit/Linux/BlockDevices/BlockDevices.h"
#include "KestrixKit/Linux/BlockDevices/DiskStacking.h"
#include "KestrixKit/Linux/Kernel/LoopBackings.h"
#include "KestrixKit/Linux/Kernel/NamespaceMounts.h"
#include "KestrixKit/Linux/Kernel/ServiceCgroup.h"
#include "KestrixKit/Linux/Kernel/StackedDevices.h"
#include "KestrixKit/Linux/Kernel/SwapAreas.h"
#include "KestrixKit/Linux/Mounts/DiskMounts.h"
#include "KestrixKit/Linux/Mounts/InnerDriveName.h"
#include "KestrixKit/Linux/Mounts/MountEntries.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "KestrixKit/Linux/Processes/ProcfsFiles.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix {
namespace {

namespace fs = std::filesystem;

// The file's device number as the drive's devices are written, when the path reaches a file.
std::optional<std::uint32_t> fileSystemOf(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return std::nullopt;
    return kernelDeviceNumber(status.st_dev);
}

// A file lies on the drive by its path below a mount path or by the file system it reaches.
bool isFileOnDrive(const std::string& path, const Drive& drive) {
    if (DriveScope::isUnder(path, drive.mountPaths())) return true;
    const std::optional<std::uint32_t> device = fileSystemOf(path);
    return device && drive.devices().contains(*device);
}

// The kernel names of the drive's own devices, and the disks they lie on.
std::set<std::string> ownDevices(const Drive& drive) {
    std::set<std::string> names;
    for (const DriveVolume& volume : drive.volumes) {
        for (const auto& name : {volume.bsdName, volume.wholeDisk, volume.physicalDisk}) {
            if (name) names.insert(*name);
        }
    }
    return names;
}

// Where a loop device, or one of its partitions, is mounted here.
std::optional<std::string> loopMountPath(const std::string& kernelName, const std::vector<MountEntry>& mounts) {
    const std::string node = "/dev/" + kernelName;
    const auto mounted = std::find_if(mounts.begin(), mounts.end(), [&](const MountEntry& mount) {
        return mount.source == node || (mount.source.starts_with(node + "p"));
    });
    if (mounted == mounts.end()) return std::nullopt;
    return mounted->mountPoint;
}

}  // namespace

LinuxKernelHolders::LinuxKernelHolders(std::shared_ptr<const ProcessSource> processes,
                                       std::function<std::optional<AppIdentity>(std::int32_t)> appLookup)
    : LinuxKernelHolders(std::move(processes), std::move(appLookup), Paths{}) {}

LinuxKernelHolders::LinuxKernelHolders(std::shared_ptr<const ProcessSource> processes,
                                       std::function<std::optional<AppIdentity>(std::int32_t)> appLookup, Paths paths)
    : processes_(std::move(processes)), appLookup_(std::move(appLookup)), paths_(std::move(paths)) {}

KernelScan LinuxKernelHolders::holders(const Drive& drive, const std::optional<MountNamespaces>& namespaces) const {
    std::vector<KernelHolder> found;
    const std::vector<MountEntry> mounts =
        readMountEntries(paths_.procRoot + "/self/mountinfo").value_or(std::vector<MountEntry>{});
    addDiskImages(drive, mounts, found);
    addSwapAreas(drive, found);
    if (const std::optional<MountEntry> inner =
            DiskMounts::otherDriveInside(drive, readBlockDevices(paths_.sysfsRoot), mounts)) {
        found.push_back({.kind = KernelHoldKind::innerMount, .name = innerDriveName(*inner), .device = inner->source,
                         .mountPath = inner->mountPoint});
    }
    const int hidden = addNamespaces(drive, mounts, namespaces, found);
    addStackedDevices(drive, found);
    return {.holders = std::move(found), .hidden = hidden};
}

void LinuxKernelHolders::addDiskImages(const Drive& drive, const std::vector<MountEntry>& mounts,
                                       std::vector<KernelHolder>& found) const {
    const std::set<std::string> own = ownDevices(drive);
    for (const LoopBacking& loop : readLoopBackings(paths_.sysfsRoot)) {
        // A drive that is itself a disk image is held by its own loop device.
        if (own.contains(loop.kernelName) || !isFileOnDrive(loop.backingFile, drive)) continue;
        found.push_back({.kind = KernelHoldKind::diskImage, .name = loop.backingFile, .device = "/dev/" + loop.kernelName,
                         .mountPath = loopMountPath(loop.kernelName, mounts)});
    }
}

void LinuxKernelHolders::addSwapAreas(const Drive& drive, std::vector<KernelHolder>& found) const {
    const std::optional<std::string> text = procfs::readText(AT_FDCWD, (paths_.procRoot + "/swaps").c_str());
    if (!text) return;
    const std::set<std::string> own = ownDevices(drive);
    for (const SwapArea& area : parseSwapAreas(*text)) {
        bool onDrive = false;
        if (area.isPartition) {
            std::error_code error;
            const fs::path node = fs::canonical(area.path, error);
            const std::optional<std::string> disk =
                error ? std::nullopt : DiskStacking::wholeDisk(paths_.sysfsRoot, node.filename().string());
            onDrive = disk && own.contains(*disk);
        } else {
            onDrive = isFileOnDrive(area.path, drive);
        }
        if (onDrive) found.push_back({.kind = KernelHoldKind::swapArea, .name = area.path, .device = area.isPartition ? area.path : ""});
    }
}

int LinuxKernelHolders::addNamespaces(const Drive& drive, const std::vector<MountEntry>& mounts,
                                      const std::optional<MountNamespaces>& namespaces,
                                      std::vector<KernelHolder>& found) const {
    const std::set<std::uint32_t> devices = drive.devices();
    if (devices.empty()) return 0;
    std::vector<MountEntry> ours;
    std::copy_if(mounts.begin(), mounts.end(), std::back_inserter(ours),
                 [&](const MountEntry& mount) { return devices.contains(mount.device); });
    std::set<std::int32_t> named;
    const NamespaceMountsFound others =
        otherNamespaceMounts(paths_.procRoot, namespaces ? *namespaces : readMountNamespaces(paths_.procRoot), devices);
    for (const NamespaceMount& other : others.mounts) {
        // A copy that our unmount takes along keeps nothing; one namespace is one holder.
        if (followsUnmountsOf(other.mount, ours) || !named.insert(other.pid).second) continue;
        KernelHolder holder = namespaceOwner(other.pid);
        holder.mountPath = other.mount.mountPoint;
        found.push_back(std::move(holder));
    }
    return others.hidden;
}

KernelHolder LinuxKernelHolders::namespaceOwner(std::int32_t pid) const {
    KernelHolder holder{.kind = KernelHoldKind::mountNamespace, .pid = pid};
    const std::optional<std::string> cgroups =
        procfs::readText(AT_FDCWD, (paths_.procRoot + "/" + std::to_string(pid) + "/cgroup").c_str());
    if (const std::optional<std::string> path = cgroups ? appcgroup::unifiedPath(*cgroups) : std::nullopt) {
        holder.unit = servicecgroup::systemService(*path);
        holder.container = servicecgroup::container(*path);
    }
    // Named as a holder is: its app, else its program.
    if (const std::optional<AppIdentity> app = appLookup_ ? appLookup_(pid) : std::nullopt) {
        holder.name = app->name;
    } else if (const std::optional<ProcessBasics> basics = processes_ ? processes_->basics(pid) : std::nullopt) {
        holder.name = basics->name;
    } else {
        holder.name = localizedFormat("PID %1", {std::to_string(pid)});
    }
    return holder;
}

void LinuxKernelHolders::addStackedDevices(const Drive& drive, std::vector<KernelHolder>& found) const {
    const std::set<std::string> own = ownDevices(drive);
    std::set<std::string> disks;
    for (const DriveVolume& volume : drive.volumes) {
        if (const auto& disk = volume.physicalDisk ? volume.physicalDisk : volume.wholeDisk ? volume.wholeDisk : volume.bsdName) {
            disks.insert(*disk);
        }
    }
    for (const std::string& disk : disks) {
        for (const StackedDevice& device : stackedDevices(paths_.sysfsRoot, disk, own)) {
            found.push_back({.kind = KernelHoldKind::stackedDevice, .name = device.name, .device = "/dev/" + device.kernelName});
        }
    }
}

}  // namespace kestrix
