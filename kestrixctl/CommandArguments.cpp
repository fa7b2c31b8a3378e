#include "kestrixctl/CommandArguments.h"

namespace kestrixctl {

std::optional<std::string> CommandArguments::last(const std::string& option) const {
    const auto found = options.find(option);
    if (found == options.end() || found->second.empty()) return std::nullopt;
    return found->second.back();
}

std::vector<std::string> CommandArguments::all(const std::string& option) const {
    const auto found = options.find(option);
    return found == options.end() ? std::vector<std::string>{} : found->second;
}

std::variant<CommandArguments, ArgumentError> parseCommandArguments(const std::vector<std::string>& words,
                                                                    const CommandGrammar& grammar) {
    CommandArguments parsed;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < words.size(); ++index) {
        const std::string& word = words[index];
        if (optionsEnded) {
            parsed.positionals.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (grammar.flags.contains(word)) {
            parsed.flags.insert(word);
        } else if (grammar.valuedOptions.contains(word)) {
            if (index + 1 >= words.size()) return ArgumentError{word + " needs a value"};
            parsed.options[word].push_back(words[++index]);
        } else if (word.size() > 1 && word.starts_with("-")) {
            return ArgumentError{"unknown option " + word};
        } else {
            parsed.positionals.push_back(word);
        }
    }
    if (parsed.positionals.size() < grammar.minimumPositionals) return ArgumentError{"missing argument"};
    if (parsed.positionals.size() > grammar.maximumPositionals) {
        return ArgumentError{"unexpected argument " + parsed.positionals[grammar.maximumPositionals]};
    }
    return parsed;
}

}  // namespace kestrixctl
