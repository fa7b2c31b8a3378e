#pragma once

#include "KestrixKit/Flow/EjectFlow.h"
#include "KestrixKit/System/SystemContext.h"

namespace kestrix {

// The eject flow over the system a command runs on, its reports dated by the wall clock.
EjectFlow ejectFlow(const SystemContext& system);

}  // namespace kestrix
