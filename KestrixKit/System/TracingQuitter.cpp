#include "KestrixKit/System/TracingQuitter.h"

namespace kestrix {

bool TracingQuitter::traced(const char* call, pid_t pid, bool result) {
    trace_(std::string(call) + " " + std::to_string(pid) + " -> " + (result ? "true" : "false"));
    return result;
}

bool TracingQuitter::quitApp(const Holder& holder) { return traced("quitApp", holder.pid, inner_->quitApp(holder)); }

void TracingQuitter::showApp(const Holder& holder) {
    inner_->showApp(holder);
    trace_("showApp " + std::to_string(holder.pid));
}

bool TracingQuitter::endProcess(const ProcessIdentity& process, EndSignal signal) {
    const char* call = signal == EndSignal::hangUp ? "endProcess(hangUp)" : "endProcess";
    return traced(call, process.pid, inner_->endProcess(process, signal));
}

bool TracingQuitter::isAlive(const ProcessIdentity& process) {
    return traced("isAlive", process.pid, inner_->isAlive(process));
}

}  // namespace kestrix
