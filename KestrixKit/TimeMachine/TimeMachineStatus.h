#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/TimeMachine/BackupTool.h"

namespace kestrix {

// A parsed status of the backup tool.
struct TimeMachineStatus {
    bool running = false;
    std::optional<std::string> phase;
    // Completed fraction from 0 to 1.
    std::optional<double> progress;
    // Mount points of the backup destinations; empty when no backup runs.
    std::vector<std::string> destinationMountPoints;
    // The Linux tool that runs the backup; absent for the backup service of the simulated worlds.
    std::optional<BackupTool> tool;
    // The backup's processes: they hold the drive as part of the backup, not as holders of their own.
    std::vector<std::int32_t> processes;
    // Whether Kestrix can stop the backup the tool's own clean way.
    bool stoppable = true;

    bool operator==(const TimeMachineStatus&) const = default;
};

}  // namespace kestrix
