#pragma once

#include <memory>

#include "KestrixKit/Ejection/DiskEjecting.h"
#include "KestrixKit/System/TraceSink.h"

namespace kestrix {

// Passes each eject on and traces it as "eject DRIVEID force=BOOL -> OUTCOME", and each release
// as "release KIND DEVICE -> released|refused".
class TracingEjector : public DiskEjecting {
public:
    TracingEjector(std::shared_ptr<DiskEjecting> inner, TraceSink trace)
        : inner_(std::move(inner)), trace_(std::move(trace)) {}
    EjectOutcome eject(const Drive& drive, bool force) override;
    ReleaseOutcome release(const KernelHolder& holder) override;

private:
    std::shared_ptr<DiskEjecting> inner_;
    TraceSink trace_;
};

}  // namespace kestrix
