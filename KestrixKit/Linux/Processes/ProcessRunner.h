#pragma once

#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/TimeMachine/CommandOutput.h"
#include "KestrixKit/TimeMachine/TimeMachineRunner.h"

namespace kestrix::ProcessRunner {

inline constexpr const char* tmutilPath = "/usr/bin/tmutil";

// Starts the executable with these arguments, standard input empty and one pipe for both output
// streams, reads the pipe to its end and then waits for the exit. Absent when it cannot be
// started. Invalid UTF-8 in the output is replaced; a process ended by a signal gets the exit
// status 128 + the signal's number.
std::optional<CommandOutput> run(const std::string& executable, const std::vector<std::string>& arguments);

// The backup tool at this path as a runner.
TimeMachineRunner timeMachineRunner(std::string executable = tmutilPath);

}  // namespace kestrix::ProcessRunner
