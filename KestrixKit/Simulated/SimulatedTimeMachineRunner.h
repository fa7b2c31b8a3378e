#pragma once

#include <memory>

#include "KestrixKit/Simulated/SimulatedSystem.h"
#include "KestrixKit/TimeMachine/TimeMachineRunner.h"

namespace kestrix {

// The backup tool of the world: each invocation prints the world's text for it, or cannot be
// started when the world has none. A successful "stopbackup" ends the running backup, so later
// "status" invocations report none.
TimeMachineRunner simulatedTimeMachineRunner(std::shared_ptr<SimulatedSystem> system);

}  // namespace kestrix
