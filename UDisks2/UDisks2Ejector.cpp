#include "UDisks2/UDisks2Ejector.h"

#include <set>

#include "UDisks2/UDisks2Interfaces.h"
#include "UDisks2/UDisks2Refusal.h"
#include "UDisks2/UDisks2Topology.h"
#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Ejection/EjectPlan.h"
#include "KestrixKit/Holders/KernelRemedy.h"
#include "KestrixKit/Linux/Ejecting/FileSystemRelease.h"

namespace kestrix {
namespace {


std::optional<UDisks2Error> ejectBy(const UDisks2Bus& bus, const UDisks2Topology::EjectStep& step) {
    switch (step.method) {
    case EjectMethod::detachLoop:
        return bus.call(step.path, UDisks2Interfaces::loop, QStringLiteral("Delete"));
    case EjectMethod::ejectMedia:
        return bus.call(step.path, UDisks2Interfaces::drive, QStringLiteral("Eject"));
    case EjectMethod::powerOff:
        return bus.call(step.path, UDisks2Interfaces::drive, QStringLiteral("PowerOff"));
    case EjectMethod::nothingToEject:
    case EjectMethod::unsupported:
        break;
    }
    return std::nullopt;
}

// Unmounts every file system of the plan, each once (a container's file system also lies on the
// disk beneath it); the first refusal ends it.
std::optional<EjectOutcome> unmountAll(const UDisks2Bus& bus, const UDisks2Objects& objects, const EjectPlan& plan,
                                       bool force) {
    // Forcing detaches a busy file system lazily; its holders keep what they have open.
    QVariantMap options;
    if (force) options.insert(QStringLiteral("force"), true);
    std::set<std::string> unmounted;
    for (const EjectPlan::Unmount& unmount : plan.unmounts) {
        const std::optional<std::vector<std::string>> fileSystems = UDisks2Topology::fileSystemsToUnmount(objects, unmount);
        if (!fileSystems) {
            return EjectOutcome{
                EjectOutcome::Failed{.volume = unmount.volume.name, .status = DAStatus::notFound, .message = std::nullopt}};
        }
        for (const std::string& fileSystem : *fileSystems) {
            if (!unmounted.insert(fileSystem).second) continue;
            const std::optional<UDisks2Error> error =
                bus.call(fileSystem, UDisks2Interfaces::fileSystem, QStringLiteral("Unmount"), options);
            if (!error) continue;
            if (std::optional<EjectOutcome> refusal = UDisks2Refusal::unmount(*error, unmount.volume.name)) return refusal;
        }
    }
    return std::nullopt;
}

// Locks the containers left open on the unmounted disk, then lets the device go.
EjectOutcome ejectDisk(const UDisks2Bus& bus, const UDisks2Objects& objects, const std::string& target,
                       const std::string& driveName) {
    const UDisks2Block* disk = UDisks2Topology::blockNamed(objects, target);
    if (disk) {
        // The service keeps a drive with an open container attached.
        for (const std::string& container : UDisks2Topology::containersToLock(objects, *disk)) {
            if (const auto error = bus.call(container, UDisks2Interfaces::encrypted, QStringLiteral("Lock"))) {
                return UDisks2Refusal::eject(*error, driveName);
            }
        }
    }
    const UDisks2Topology::EjectStep step = UDisks2Topology::ejectStep(objects, disk);
    if (step.method == EjectMethod::unsupported) return {EjectOutcome::UnmountedOnly{}};
    if (const auto error = ejectBy(bus, step)) return UDisks2Refusal::eject(*error, driveName);
    return {EjectOutcome::Ejected{}};
}

}  // namespace

EjectOutcome UDisks2Ejector::eject(const Drive& drive, bool force) {
    const std::variant<UDisks2Objects, UDisks2Error> read = bus_.managedObjects();
    if (const auto* error = std::get_if<UDisks2Error>(&read)) return UDisks2Refusal::unreachable(*error);
    const UDisks2Objects& objects = std::get<UDisks2Objects>(read);
    const EjectPlan plan = EjectPlan::of(drive);
    if (std::optional<EjectOutcome> refusal = unmountAll(bus_, objects, plan, force)) return *refusal;
    // Unmounted here is not yet gone: the device stays while its file systems live on.
    if (!isReleased(drive)) return {EjectOutcome::Detached{}};
    if (!plan.ejectTarget) return {EjectOutcome::Ejected{}};
    return ejectDisk(bus_, objects, *plan.ejectTarget, drive.name());
}

ReleaseOutcome UDisks2Ejector::release(const KernelHolder& holder) {
    const std::optional<KernelRemedy> remedy = kernelRemedy(holder);
    if (remedy != KernelRemedy::detachImage && remedy != KernelRemedy::stopSwap) {
        return {.released = false, .message = std::nullopt};
    }
    const std::variant<UDisks2Objects, UDisks2Error> read = bus_.managedObjects();
    if (const auto* error = std::get_if<UDisks2Error>(&read)) return {.released = false, .message = error->message};
    constexpr std::string_view devFolder = "/dev/";
    const std::string name = holder.device.starts_with(devFolder) ? holder.device.substr(devFolder.size()) : holder.device;
    const UDisks2Block* block = UDisks2Topology::blockNamed(std::get<UDisks2Objects>(read), name);
    // The service names no such device: nothing of it to let go.
    if (!block || (remedy == KernelRemedy::detachImage ? !block->isLoop : !block->isSwap)) {
        return {.released = false, .message = std::nullopt};
    }
    const std::optional<UDisks2Error> error =
        remedy == KernelRemedy::detachImage
            ? bus_.call(block->path, UDisks2Interfaces::loop, QStringLiteral("Delete"))
            : bus_.call(block->path, UDisks2Interfaces::swapspace, QStringLiteral("Stop"));
    if (error) return {.released = false, .message = error->message};
    return {.released = true, .message = std::nullopt};
}

}  // namespace kestrix
