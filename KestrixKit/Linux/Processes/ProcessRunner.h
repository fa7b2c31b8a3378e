#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/TimeMachine/CommandOutput.h"
#include "KestrixKit/TimeMachine/TimeMachineRunner.h"

namespace kestrix::ProcessRunner {

inline constexpr const char* tmutilPath = "/usr/bin/tmutil";

inline constexpr std::chrono::milliseconds defaultTimeLimit{10'000};

// Starts the executable with these arguments, standard input empty and one pipe for both output
// streams, reads the pipe to its end and then waits for the exit. Absent when it cannot be
// started, or when it has not finished within the time limit: then it is ended (SIGTERM, then
// SIGKILL) with everything it started, as a tool that does not answer. Invalid UTF-8 in the
// output is replaced; a process ended by a signal gets the exit status 128 + the signal's number.
std::optional<CommandOutput> run(const std::string& executable, const std::vector<std::string>& arguments,
                                 std::chrono::milliseconds timeLimit = defaultTimeLimit);

// The backup tool at this path as a runner.
TimeMachineRunner timeMachineRunner(std::string executable = tmutilPath,
                                    std::chrono::milliseconds timeLimit = defaultTimeLimit);

}  // namespace kestrix::ProcessRunner
