#pragma once

#include <memory>
#include <string>
#include <variant>

#include "KestrixKit/Simulated/SimulatedSystem.h"
#include "KestrixKit/Volumes/MountedVolumeSource.h"
#include "kestrixctl/GlobalOptions.h"

namespace kestrixctl {

// The system a command runs on: this machine, or a simulated one from a world file or the demo.
struct SystemContext {
    std::unique_ptr<kestrix::MountedVolumeSource> volumes;
    // Present when the system is simulated.
    std::shared_ptr<kestrix::SimulatedSystem> simulated;

    bool isSimulated() const { return simulated != nullptr; }
};

struct ContextError {
    std::string message;
};

std::variant<SystemContext, ContextError> makeSystemContext(const GlobalOptions& options);

}  // namespace kestrixctl
