#include "KestrixKit/System/HistoryRecording.h"

#include "KestrixKit/History/HistoryEvent.h"
#include "KestrixKit/Linux/Files/HistoryFile.h"
#include "KestrixKit/Linux/Files/HistoryLocation.h"
#include "KestrixKit/Linux/Files/RandomUuid.h"

namespace kestrix {

std::optional<std::string> historyPath(const std::optional<std::string>& chosenPath, bool simulated) {
    if (chosenPath) return chosenPath;
    if (simulated) return std::nullopt;
    return historyFileLocation();
}

HistoryUpdate recordReports(const std::string& path, const std::vector<DriveReport>& reports) {
    return updateHistory(path, [&](History& history) {
        for (const DriveReport& report : reports) history.add(HistoryEvent::fromReport(report, randomUuid()));
        return true;
    });
}

}  // namespace kestrix
