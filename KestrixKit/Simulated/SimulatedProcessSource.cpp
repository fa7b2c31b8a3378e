#include "KestrixKit/Simulated/SimulatedProcessSource.h"

namespace kestrix {

std::vector<std::int32_t> SimulatedProcessSource::allPIDs() const {
    std::vector<std::int32_t> pids;
    for (const WorldProcess& candidate : system_->world().processes) pids.push_back(candidate.pid);
    return pids;
}

std::optional<ProcessBasics> SimulatedProcessSource::basics(std::int32_t pid) const {
    const WorldProcess* found = system_->process(pid);
    return found ? found->basics : std::nullopt;
}

std::optional<std::vector<VnodeRef>> SimulatedProcessSource::openFiles(std::int32_t pid) const {
    const WorldProcess* found = system_->process(pid);
    return found ? found->openFiles : std::nullopt;
}

std::optional<VnodeRef> SimulatedProcessSource::currentFolder(std::int32_t pid) const {
    const WorldProcess* found = system_->process(pid);
    return found ? found->currentFolder : std::nullopt;
}

std::optional<std::vector<VnodeRef>> SimulatedProcessSource::mappedFiles(std::int32_t pid) const {
    const WorldProcess* found = system_->process(pid);
    return found ? found->mappedFiles : std::nullopt;
}

std::optional<AppIdentity> SimulatedProcessSource::app(std::int32_t pid) const {
    const WorldProcess* found = system_->process(pid);
    return found ? found->app : std::nullopt;
}

}  // namespace kestrix
