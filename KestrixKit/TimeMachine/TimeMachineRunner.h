#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/TimeMachine/CommandOutput.h"

namespace kestrix {

// Runs the backup tool with these arguments and waits for it; absent when it cannot be started.
using TimeMachineRunner = std::function<std::optional<CommandOutput>(const std::vector<std::string>& arguments)>;

}  // namespace kestrix
