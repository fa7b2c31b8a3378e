#include "kestrixctl/SystemEjectFlow.h"

#include <chrono>

namespace kestrixctl {

kestrix::EjectFlow ejectFlow(const SystemContext& system) {
    return kestrix::EjectFlow{.scanner = system.holderScanner(),
                              .ejector = system.ejector,
                              .quitter = system.quitter,
                              .currentUID = system.currentUID,
                              .sleep = system.sleep,
                              .timeMachine = system.timeMachineStatus,
                              .now = [] { return std::chrono::system_clock::now(); }};
}

}  // namespace kestrixctl
