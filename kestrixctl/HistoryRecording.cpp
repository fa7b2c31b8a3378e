#include "kestrixctl/HistoryRecording.h"

#include "KestrixKit/System/HistoryRecording.h"

namespace kestrixctl {

std::optional<std::string> historyPath(const Invocation& invocation) {
    return kestrix::historyPath(invocation.options.historyPath, invocation.system.isSimulated());
}

void recordReports(const Invocation& invocation, const std::vector<kestrix::DriveReport>& reports) {
    if (reports.empty()) return;
    const auto path = historyPath(invocation);
    if (!path) {
        if (!invocation.system.isSimulated()) {
            invocation.err << "kestrixctl: warning: no home folder, the eject history was not saved\n";
        }
        return;
    }
    if (const auto failure = kestrix::recordReports(*path, reports)) {
        invocation.err << "kestrixctl: warning: the eject history was not saved: " << *failure << '\n';
    }
}

}  // namespace kestrixctl
