#include "UDisks2/UDisks2Topology.h"

#include <algorithm>
#include <set>

#include "KestrixKit/Linux/Mounts/MountPointStatus.h"

namespace kestrix::UDisks2Topology {
namespace {

// Stacked devices are never nested this deep; the bound keeps a looping description finite.
constexpr int deepestStack = 12;

std::string deviceNode(std::string name) {
    // sysfs writes the "/" of a device name below /dev as "!".
    std::replace(name.begin(), name.end(), '!', '/');
    return "/dev/" + name;
}

bool isMounted(const UDisks2Block& block) { return block.mountPoints && !block.mountPoints->empty(); }

std::size_t depth(const std::string& path) { return static_cast<std::size_t>(std::count(path.begin(), path.end(), '/')); }

std::size_t deepestMountPoint(const UDisks2Block& block) {
    std::size_t deepest = 0;
    for (const std::string& mountPoint : block.mountPoints.value_or(std::vector<std::string>{})) {
        deepest = std::max(deepest, depth(mountPoint));
    }
    return deepest;
}

// The disk, its partitions and the cleartext devices of containers among them, outermost first.
std::vector<const UDisks2Block*> blocksOn(const UDisks2Objects& objects, const UDisks2Block& disk) {
    std::vector<const UDisks2Block*> found{&disk};
    std::set<std::string> paths{disk.path};
    for (int level = 0; level < deepestStack; ++level) {
        bool grew = false;
        for (const UDisks2Block& block : objects.blocks) {
            const bool isOnFound = (block.partitionTable && paths.contains(*block.partitionTable)) ||
                                   (block.cryptoBackingDevice && paths.contains(*block.cryptoBackingDevice));
            if (isOnFound && paths.insert(block.path).second) {
                found.push_back(&block);
                grew = true;
            }
        }
        if (!grew) break;
    }
    return found;
}

std::vector<std::string> mountedDeepestFirst(std::vector<const UDisks2Block*> blocks) {
    std::erase_if(blocks, [](const UDisks2Block* block) { return !isMounted(*block); });
    std::stable_sort(blocks.begin(), blocks.end(), [](const UDisks2Block* left, const UDisks2Block* right) {
        return deepestMountPoint(*left) > deepestMountPoint(*right);
    });
    std::vector<std::string> paths;
    for (const UDisks2Block* block : blocks) paths.push_back(block->path);
    return paths;
}

// A partition or an opened container has no drive of its own; the device beneath it has.
const UDisks2Drive* driveOf(const UDisks2Objects& objects, const UDisks2Block& disk) {
    const UDisks2Block* block = &disk;
    for (int level = 0; block && level < deepestStack; ++level) {
        if (block->drive) return objects.drive(*block->drive);
        const std::optional<std::string>& beneath =
            block->cryptoBackingDevice ? block->cryptoBackingDevice : block->partitionTable;
        block = beneath ? objects.block(*beneath) : nullptr;
    }
    return nullptr;
}

}  // namespace

const UDisks2Block* blockNamed(const UDisks2Objects& objects, const std::string& name) {
    const std::string node = deviceNode(name);
    for (const UDisks2Block& block : objects.blocks) {
        if (block.device == node || block.preferredDevice == node ||
            std::find(block.symlinks.begin(), block.symlinks.end(), node) != block.symlinks.end()) {
            return &block;
        }
    }
    return nullptr;
}

const UDisks2Block* blockOf(const UDisks2Objects& objects, const DriveVolume& volume) {
    if (volume.bsdName) {
        if (const UDisks2Block* block = blockNamed(objects, *volume.bsdName)) return block;
    }
    for (const UDisks2Block& block : objects.blocks) {
        const std::vector<std::string>& mountPoints = block.mountPoints.value_or(std::vector<std::string>{});
        if (std::find(mountPoints.begin(), mountPoints.end(), volume.mountPath) != mountPoints.end()) return &block;
    }
    if (volume.device == 0) return nullptr;
    for (const UDisks2Block& block : objects.blocks) {
        if (kernelDeviceNumber(block.deviceNumber) == volume.device) return &block;
    }
    return nullptr;
}

std::optional<std::vector<std::string>> fileSystemsToUnmount(const UDisks2Objects& objects,
                                                             const EjectPlan::Unmount& unmount) {
    if (unmount.key.isWholeDisk) {
        const UDisks2Block* disk = blockNamed(objects, unmount.key.value);
        if (!disk) return std::nullopt;
        return mountedDeepestFirst(blocksOn(objects, *disk));
    }
    const UDisks2Block* block = blockOf(objects, unmount.volume);
    if (!block) return std::nullopt;
    return mountedDeepestFirst({block});
}

std::vector<std::string> containersToLock(const UDisks2Objects& objects, const UDisks2Block& disk) {
    std::vector<std::string> containers;
    for (const UDisks2Block* block : blocksOn(objects, disk)) {
        const bool isUnlocked = std::any_of(objects.blocks.begin(), objects.blocks.end(), [&](const UDisks2Block& b) {
            return b.cryptoBackingDevice == block->path;
        });
        if (block->isEncrypted && isUnlocked) containers.insert(containers.begin(), block->path);
    }
    return containers;
}

EjectStep ejectStep(const UDisks2Objects& objects, const UDisks2Block* disk) {
    if (!disk) return {EjectMethod::nothingToEject, {}};
    if (disk->isLoop) return {EjectMethod::detachLoop, disk->path};
    const UDisks2Drive* drive = driveOf(objects, *disk);
    if (!drive) return {EjectMethod::unsupported, {}};
    if (drive->isOptical) return {EjectMethod::ejectMedia, drive->path};
    if (drive->canPowerOff) return {EjectMethod::powerOff, drive->path};
    if (drive->isEjectable) return {EjectMethod::ejectMedia, drive->path};
    return {EjectMethod::unsupported, {}};
}

}  // namespace kestrix::UDisks2Topology
