#pragma once

#include "KestrixKit/Flow/EjectFlow.h"
#include "kestrixctl/SystemContext.h"

namespace kestrixctl {

// The eject flow over the system a command runs on, its reports dated by the wall clock.
kestrix::EjectFlow ejectFlow(const SystemContext& system);

}  // namespace kestrixctl
