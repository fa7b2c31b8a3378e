#pragma once

#include <functional>
#include <string>
#include <vector>

#include "KestrixKit/Holders/ProcessIdentity.h"

#include "KestrixKit/TimeMachine/TimeMachineRunner.h"
#include "KestrixKit/System/TraceSink.h"

namespace kestrix {

// The sleep, tracing "sleep SECONDS" (the shortest decimal form, such as 0.25 or 10) first.
std::function<void(double)> tracingSleep(std::function<void(double)> sleep, TraceSink trace);

// The wait for processes to exit, tracing "wait for exit PID PID… (at most SECONDS)" first.
using ExitWait = std::function<void(const std::vector<ProcessIdentity>& processes, double limitSeconds)>;
ExitWait tracingExitWait(ExitWait wait, TraceSink trace);

// The backup tool runner, tracing "COMMAND ARGUMENTS" first.
TimeMachineRunner tracingRunner(TimeMachineRunner run, TraceSink trace, std::string command = "tmutil");

// The shortest decimal text that reads back as the same number.
std::string shortestDecimal(double value);

}  // namespace kestrix
