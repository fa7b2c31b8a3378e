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

bool TracingQuitter::endProcess(pid_t pid) { return traced("endProcess", pid, inner_->endProcess(pid)); }

bool TracingQuitter::isAlive(pid_t pid) { return traced("isAlive", pid, inner_->isAlive(pid)); }

}  // namespace kestrix
