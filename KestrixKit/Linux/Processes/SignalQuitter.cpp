#include "KestrixKit/Linux/Processes/SignalQuitter.h"

#include "KestrixKit/Linux/Processes/Signals.h"

namespace kestrix {

bool SignalQuitter::quitApp(const Holder& /*holder*/) { return false; }

void SignalQuitter::showApp(const Holder& /*holder*/) {}

bool SignalQuitter::endProcess(const ProcessIdentity& process, EndSignal signal) {
    return Signals::end(process, signal);
}

bool SignalQuitter::isAlive(const ProcessIdentity& process) { return Signals::isRunning(process); }

}  // namespace kestrix
