#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

#include "KestrixKit/Simulated/World.h"

namespace kestrix {

// The mutable state of one run on a simulated world: what has been ejected, quit or ended
// changes what the world's sources report for the rest of the run. Every call made to the
// simulated system can be traced, one line each.
class SimulatedSystem {
public:
    explicit SimulatedSystem(World world);

    const World& world() const { return world_; }
    // The world to change; its processes change through removeProcesses and replaceWorld only,
    // which keep them indexed.
    World& world() { return world_; }

    // The process with this pid (the first one listed, should a world list a pid twice), found
    // through the index, so that a scan of a large world stays linear.
    const WorldProcess* process(std::int32_t pid) const;
    // Puts a world read again in place of this one, with its processes indexed anew.
    void replaceWorld(World world);
    // Removes the processes that end, as when they quit or are ended.
    void removeProcesses(const std::function<bool(const WorldProcess&)>& ends);

    void setTrace(std::function<void(const std::string&)> trace) { trace_ = std::move(trace); }
    void trace(const std::string& line) const {
        if (trace_) trace_(line);
    }

private:
    void indexProcesses();

    World world_;
    std::unordered_map<std::int32_t, std::size_t> processIndex_;
    std::function<void(const std::string&)> trace_;
};

}  // namespace kestrix
