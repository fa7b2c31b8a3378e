#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "KestrixKit/TimeMachine/TimeMachineRunner.h"
#include "KestrixKit/TimeMachine/TimeMachineStatus.h"

// Reading and stopping backups through the backup tool, and reading the tool's text.
namespace kestrix::TimeMachine {

// What the tool's "status" text says, before the destinations are known.
struct StatusFields {
    bool running = false;
    std::optional<std::string> phase;
    std::optional<double> progress;

    bool operator==(const StatusFields&) const = default;
};

// The current status; absent when the tool cannot be started.
std::optional<TimeMachineStatus> read(const TimeMachineRunner& run);

// Whether the tool stopped the running backup, and its output trimmed.
std::pair<bool, std::string> stopBackup(const TimeMachineRunner& run);

// The brace-and-semicolon text of "status", read line by line (the first value of a key wins).
StatusFields parseStatus(std::string_view text);

// The "Mount Point" values of the "destinationinfo" text, in order.
std::vector<std::string> parseDestinations(std::string_view text);

}  // namespace kestrix::TimeMachine
