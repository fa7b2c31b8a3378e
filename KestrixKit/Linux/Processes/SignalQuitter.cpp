#include "KestrixKit/Linux/Processes/SignalQuitter.h"

#include "KestrixKit/Linux/Processes/Signals.h"

namespace kestrix {

bool SignalQuitter::quitApp(const Holder& /*holder*/) { return false; }

void SignalQuitter::showApp(const Holder& /*holder*/) {}

bool SignalQuitter::endProcess(pid_t pid) { return Signals::terminate(pid); }

bool SignalQuitter::isAlive(pid_t pid) { return Signals::isRunning(pid); }

}  // namespace kestrix
