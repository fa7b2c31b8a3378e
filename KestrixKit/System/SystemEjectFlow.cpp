#include "KestrixKit/System/SystemEjectFlow.h"

#include <chrono>

namespace kestrix {

EjectFlow ejectFlow(const SystemContext& system) {
    return EjectFlow{.scanner = system.holderScanner(),
                              .ejector = system.ejector,
                              .quitter = system.quitter,
                              .currentUID = system.currentUID,
                              .sleep = system.sleep,
                              .timeMachine = system.timeMachineStatus,
                              .backups = system.backups,
                              .now = [] { return std::chrono::system_clock::now(); }};
}

}  // namespace kestrix
