#include "kestrixctl/TracingEjector.h"

namespace kestrixctl {
namespace {

const char* caseName(const kestrix::EjectOutcome& outcome) {
    using kestrix::EjectOutcome;
    if (outcome.is<EjectOutcome::Busy>()) return "busy";
    if (outcome.is<EjectOutcome::Failed>()) return "failed";
    if (outcome.is<EjectOutcome::Ejected>()) return "ejected";
    return "unmountedOnly";
}

}  // namespace

kestrix::EjectOutcome TracingEjector::eject(const kestrix::Drive& drive, bool force) {
    kestrix::EjectOutcome outcome = inner_->eject(drive, force);
    trace_("eject " + drive.id + " force=" + (force ? "true" : "false") + " -> " + caseName(outcome));
    return outcome;
}

}  // namespace kestrixctl
