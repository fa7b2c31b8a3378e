#include "kestrixctl/HistoryRecording.h"

#include "KestrixKit/System/HistoryRecording.h"
#include "TextSupport/VisibleText.h"

namespace kestrixctl {

std::optional<std::string> historyPath(const Invocation& invocation) {
    return kestrix::historyPath(invocation.options.historyPath, invocation.system.isSimulated());
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
    const kestrix::HistoryUpdate update = kestrix::recordReports(*path, reports);
    reportHistoryNotice(invocation, update.loaded);
    if (update.saveFailure) {
        invocation.err << "kestrixctl: warning: the eject history was not saved: " << textsupport::visibleText(*update.saveFailure) << '\n';
    }
}

}  // namespace kestrixctl
