#pragma once

#include <memory>

#include "KestrixKit/Ejection/DiskEjecting.h"
#include "kestrixctl/TraceSink.h"

namespace kestrixctl {

// Passes each eject on and traces it as "eject DRIVEID force=BOOL -> OUTCOME".
class TracingEjector : public kestrix::DiskEjecting {
public:
    TracingEjector(std::shared_ptr<kestrix::DiskEjecting> inner, TraceSink trace)
        : inner_(std::move(inner)), trace_(std::move(trace)) {}
    kestrix::EjectOutcome eject(const kestrix::Drive& drive, bool force) override;

private:
    std::shared_ptr<kestrix::DiskEjecting> inner_;
    TraceSink trace_;
};

}  // namespace kestrixctl
