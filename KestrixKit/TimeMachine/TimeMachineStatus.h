#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrix {

// A parsed status of the backup tool.
struct TimeMachineStatus {
    bool running = false;
    std::optional<std::string> phase;
    // Completed fraction from 0 to 1.
    std::optional<double> progress;
    // Mount points of the backup destinations; empty when no backup runs.
    std::vector<std::string> destinationMountPoints;

    bool operator==(const TimeMachineStatus&) const = default;
};

}  // namespace kestrix
