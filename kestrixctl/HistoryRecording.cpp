#include "kestrixctl/HistoryRecording.h"

#include "KestrixKit/History/HistoryEvent.h"
#include "KestrixKit/Linux/HistoryFile.h"
#include "KestrixKit/Linux/HistoryLocation.h"
#include "KestrixKit/Linux/RandomUuid.h"
#include "TextSupport/VisibleText.h"

namespace kestrixctl {

std::optional<std::string> historyPath(const Invocation& invocation) {
    if (invocation.options.historyPath) return invocation.options.historyPath;
    if (invocation.system.isSimulated()) return std::nullopt;
    return kestrix::historyFileLocation();
}

void reportHistoryNotice(const Invocation& invocation, const kestrix::LoadedHistory& loaded) {
    if (loaded.notice) invocation.err << "kestrixctl: warning: " << textsupport::visibleText(*loaded.notice) << '\n';
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
    const kestrix::HistoryUpdate update = kestrix::updateHistory(*path, [&](kestrix::History& history) {
        for (const kestrix::DriveReport& report : reports) {
            history.add(kestrix::HistoryEvent::fromReport(report, kestrix::randomUuid()));
        }
        return true;
    });
    reportHistoryNotice(invocation, update.loaded);
    if (update.saveFailure) {
        invocation.err << "kestrixctl: warning: the eject history was not saved: " << textsupport::visibleText(*update.saveFailure) << '\n';
    }
}

}  // namespace kestrixctl
