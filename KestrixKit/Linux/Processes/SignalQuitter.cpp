#include "kestrixctl/CommandLineQuitter.h"

#include "KestrixKit/Linux/Signals.h"

namespace kestrixctl {

bool CommandLineQuitter::quitApp(const kestrix::Holder& /*holder*/) { return false; }

void CommandLineQuitter::showApp(const kestrix::Holder& /*holder*/) {}

bool CommandLineQuitter::endProcess(pid_t pid) { return kestrix::Signals::terminate(pid); }

bool CommandLineQuitter::isAlive(pid_t pid) { return kestrix::Signals::isRunning(pid); }

}  // namespace kestrixctl
