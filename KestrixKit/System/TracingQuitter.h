#pragma once

#include <memory>

#include "KestrixKit/Flow/HolderQuitting.h"
#include "KestrixKit/System/TraceSink.h"

namespace kestrix {

// Passes each quitter call on and traces it with its pid and result
// ("quitApp 412 -> true", "showApp 412", "endProcess 530 -> false", "isAlive 530 -> true").
class TracingQuitter : public HolderQuitting {
public:
    TracingQuitter(std::shared_ptr<HolderQuitting> inner, TraceSink trace)
        : inner_(std::move(inner)), trace_(std::move(trace)) {}

    bool quitApp(const Holder& holder) override;
    void showApp(const Holder& holder) override;
    bool endProcess(const ProcessIdentity& process, EndSignal signal) override;
    bool isAlive(const ProcessIdentity& process) override;

private:
    bool traced(const char* call, pid_t pid, bool result);

    std::shared_ptr<HolderQuitting> inner_;
    TraceSink trace_;
};

}  // namespace kestrix
