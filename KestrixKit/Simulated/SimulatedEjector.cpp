#include "KestrixKit/Simulated/SimulatedEjector.h"

#include <algorithm>

#include "KestrixKit/Holders/KernelRemedy.h"

namespace kestrix {

EjectOutcome SimulatedEjector::eject(const Drive& drive, bool /*force*/) {
    World& world = system_->world();
    EjectOutcome outcome{EjectOutcome::Ejected{}};
    std::deque<EjectOutcome>& queued = world.ejector.outcomesByDrive[drive.id];
    if (!queued.empty()) {
        outcome = std::move(queued.front());
        queued.pop_front();
    }
    if (!outcome.is<EjectOutcome::Busy>() && !outcome.is<EjectOutcome::Failed>()) {
        const std::vector<std::string> paths = drive.mountPaths();
        std::erase_if(world.volumes, [&](const WorldVolume& volume) {
            return std::find(paths.begin(), paths.end(), volume.facts.path) != paths.end();
        });
        // Ejecting a disk image detaches it.
        for (WorldVolume& volume : world.volumes) {
            std::erase_if(volume.kernelHolders, [&](const KernelHolder& holder) {
                return holder.kind == KernelHoldKind::diskImage && holder.mountPath &&
                       std::find(paths.begin(), paths.end(), *holder.mountPath) != paths.end();
            });
        }
    }
    return outcome;
}

ReleaseOutcome SimulatedEjector::release(const KernelHolder& holder) {
    const std::optional<KernelRemedy> remedy = kernelRemedy(holder);
    if (remedy != KernelRemedy::detachImage && remedy != KernelRemedy::stopSwap) {
        return {.released = false, .message = "Operation not supported"};
    }
    bool found = false;
    for (WorldVolume& volume : system_->world().volumes) {
        found = std::erase_if(volume.kernelHolders, [&](const KernelHolder& held) {
                    return held.kind == holder.kind && held.device == holder.device;
                }) > 0 || found;
    }
    if (!found) return {.released = false, .message = "No such device"};
    return {.released = true, .message = std::nullopt};
}

}  // namespace kestrix
