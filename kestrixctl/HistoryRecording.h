#pragma once

#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Flow/DriveReport.h"
#include "KestrixKit/Linux/Files/HistoryFile.h"
#include "kestrixctl/Invocation.h"

namespace kestrixctl {

// The history file this invocation keeps: the --history file when given, else the user's own
// history on the real system; none on a simulated system.
std::optional<std::string> historyPath(const Invocation& invocation);

// Writes the loading's notice (an unreadable file kept aside) on stderr, when there is one.
void reportHistoryNotice(const Invocation& invocation, const kestrix::LoadedHistory& loaded);

// Records one event per report and saves the history right after, as the app does. A failed
// save is reported on stderr and does not change the command's outcome.
void recordReports(const Invocation& invocation, const std::vector<kestrix::DriveReport>& reports);

}  // namespace kestrixctl
