#pragma once

#include <functional>
#include <string>

#include "KestrixKit/Simulated/World.h"

namespace kestrix {

// The mutable state of one run on a simulated world: what has been ejected, quit or ended
// changes what the world's sources report for the rest of the run. Every call made to the
// simulated system can be traced, one line each.
class SimulatedSystem {
public:
    explicit SimulatedSystem(World world) : world_(std::move(world)) {}

    const World& world() const { return world_; }
    World& world() { return world_; }

    void setTrace(std::function<void(const std::string&)> trace) { trace_ = std::move(trace); }
    void trace(const std::string& line) const {
        if (trace_) trace_(line);
    }

private:
    World world_;
    std::function<void(const std::string&)> trace_;
};

}  // namespace kestrix
