#include "KestrixKit/System/SystemEjectFlow.h"

#include <chrono>

namespace kestrix {

EjectFlow ejectFlow(const SystemContext& system) {
    EjectFlow flow{.scanner = system.holderScanner(),
                   .ejector = system.ejector,
                   .quitter = system.quitter,
                   .currentUID = system.currentUID,
                   .sleep = system.sleep,
                   .timeMachine = system.timeMachineStatus,
                   .isSameDrive = {},
                   .backups = system.backups,
                   .now = [] { return std::chrono::system_clock::now(); }};
    flow.flusher = system.flusher;
    flow.awaitExit = system.awaitExit;
    if (system.volumeIdentity) {
        flow.isSameDrive = [identityNow = system.volumeIdentity](const Drive& drive) {
            return isSameDrive(drive, identityNow);
        };
    }
    return flow;
}

}  // namespace kestrix
