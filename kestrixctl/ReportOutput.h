#pragma once

#include <vector>

#include "KestrixKit/Flow/DriveReport.h"
#include "kestrixctl/Invocation.h"

namespace kestrixctl {

// Records the report in the eject history, then prints it (its sentence, or its JSON form) and
// gives the exit status: success only when the drive is gone.
int finishEject(const Invocation& invocation, const kestrix::DriveReport& report, bool json);

// The same for Eject All: the summary of all reports, or {"reports": […], "summary": …}.
int finishEjectAll(const Invocation& invocation, const std::vector<kestrix::DriveReport>& reports, bool json);

}  // namespace kestrixctl
