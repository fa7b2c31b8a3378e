#pragma once

#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Flow/DriveReport.h"
#include "KestrixKit/Linux/Files/HistoryFile.h"

namespace kestrix {

// The history file to keep: the chosen file when given, else the user's own history on the
// real system; none on a simulated system, so that trying a world or the demo leaves the real
// history alone.
std::optional<std::string> historyPath(const std::optional<std::string>& chosenPath, bool simulated);

// Records one event per report in the history file and saves it right after, under the file's
// lock; what loading said of an unreadable file, and why the save failed.
HistoryUpdate recordReports(const std::string& path, const std::vector<DriveReport>& reports);

}  // namespace kestrix
