#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "kestrixctl/CommandArguments.h"

namespace kestrixctl {

// Options that choose the system a command runs on; they may stand anywhere on the line before
// "--", which ends all options.
struct GlobalOptions {
    std::optional<std::string> worldPath;
    bool demo = false;
    bool trace = false;
    // Never have the system ask for a password; what needs one is refused (for scripts).
    bool noPassword = false;
    std::optional<std::string> historyPath;
    bool help = false;
    std::string command;
    std::vector<std::string> commandWords;
};

std::variant<GlobalOptions, ArgumentError> parseGlobalOptions(const std::vector<std::string>& words);

}  // namespace kestrixctl
