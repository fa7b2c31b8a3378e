#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

namespace kestrixctl {

// The words after a command's name: flags, options with values (repeatable) and positionals.
// After "--" every word is a positional, such as a drive named "-backup".
struct CommandArguments {
    std::set<std::string> flags;
    std::map<std::string, std::vector<std::string>> options;
    std::vector<std::string> positionals;

    bool has(const std::string& flag) const { return flags.contains(flag); }
    std::optional<std::string> last(const std::string& option) const;
    std::vector<std::string> all(const std::string& option) const;
};

struct CommandGrammar {
    std::set<std::string> flags;
    std::set<std::string> valuedOptions;
    std::size_t minimumPositionals = 0;
    std::size_t maximumPositionals = 0;
};

struct ArgumentError {
    std::string message;
};

std::variant<CommandArguments, ArgumentError> parseCommandArguments(const std::vector<std::string>& words,
                                                                    const CommandGrammar& grammar);

}  // namespace kestrixctl
