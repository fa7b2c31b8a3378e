#include "KestrixKit/System/TracingEjector.h"

#include "KestrixKit/Holders/KernelHoldKind.h"

namespace kestrix {
namespace {

const char* caseName(const EjectOutcome& outcome) {
    if (outcome.is<EjectOutcome::Busy>()) return "busy";
    if (outcome.is<EjectOutcome::Failed>()) return "failed";
    if (outcome.is<EjectOutcome::Ejected>()) return "ejected";
    if (outcome.is<EjectOutcome::Detached>()) return "detached";
    return "unmountedOnly";
}

}  // namespace

EjectOutcome TracingEjector::eject(const Drive& drive, bool force) {
    EjectOutcome outcome = inner_->eject(drive, force);
    trace_("eject " + drive.id + " force=" + (force ? "true" : "false") + " -> " + caseName(outcome));
    return outcome;
}

ReleaseOutcome TracingEjector::release(const KernelHolder& holder) {
    ReleaseOutcome outcome = inner_->release(holder);
    trace_("release " + std::string(rawValue(holder.kind)) + " " + holder.device + " -> " +
           (outcome.released ? "released" : "refused"));
    return outcome;
}

}  // namespace kestrix
