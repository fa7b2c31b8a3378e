#include "kestrixctl/HistoryRecording.h"

#include "KestrixKit/History/HistoryEvent.h"
#include "KestrixKit/Linux/HistoryFile.h"
#include "KestrixKit/Linux/HistoryLocation.h"
#include "KestrixKit/Linux/RandomUuid.h"

namespace kestrixctl {

std::optional<std::string> historyPath(const Invocation& invocation) {
    if (invocation.options.historyPath) return invocation.options.historyPath;
    if (invocation.system.isSimulated()) return std::nullopt;
    return kestrix::historyFileLocation();
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
    kestrix::History history = kestrix::loadHistory(*path);
    for (const kestrix::DriveReport& report : reports) {
        history.add(kestrix::HistoryEvent::fromReport(report, kestrix::randomUuid()));
    }
    if (const auto failure = kestrix::saveHistory(history, *path)) {
        invocation.err << "kestrixctl: warning: the eject history was not saved: " << *failure << '\n';
    }
}

}  // namespace kestrixctl
