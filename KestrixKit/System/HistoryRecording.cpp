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

std::optional<std::string> recordReports(const std::string& path, const std::vector<DriveReport>& reports) {
    History history = loadHistory(path);
    for (const DriveReport& report : reports) {
        history.add(HistoryEvent::fromReport(report, randomUuid()));
    }
    return saveHistory(history, path);
}

}  // namespace kestrix
