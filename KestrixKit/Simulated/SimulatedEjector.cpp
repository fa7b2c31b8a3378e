#include "KestrixKit/Simulated/SimulatedEjector.h"

#include <algorithm>

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
    }
    return outcome;
}

}  // namespace kestrix
