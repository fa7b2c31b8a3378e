#include "KestrixKit/Simulated/SimulatedSystem.h"

namespace kestrix {

SimulatedSystem::SimulatedSystem(World world) : world_(std::move(world)) { indexProcesses(); }

const WorldProcess* SimulatedSystem::process(std::int32_t pid) const {
    const auto found = processIndex_.find(pid);
    return found == processIndex_.end() ? nullptr : &world_.processes[found->second];
}

void SimulatedSystem::replaceWorld(World world) {
    world_ = std::move(world);
    indexProcesses();
}

void SimulatedSystem::removeProcesses(const std::function<bool(const WorldProcess&)>& ends) {
    if (std::erase_if(world_.processes, ends) > 0) indexProcesses();
}

void SimulatedSystem::indexProcesses() {
    processIndex_.clear();
    processIndex_.reserve(world_.processes.size());
    for (std::size_t index = 0; index < world_.processes.size(); ++index) {
        processIndex_.try_emplace(world_.processes[index].pid, index);
    }
}

}  // namespace kestrix
