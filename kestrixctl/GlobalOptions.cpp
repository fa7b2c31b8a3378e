#include "kestrixctl/GlobalOptions.h"

namespace kestrixctl {

std::variant<GlobalOptions, ArgumentError> parseGlobalOptions(const std::vector<std::string>& words) {
    GlobalOptions options;
    for (std::size_t index = 0; index < words.size(); ++index) {
        const std::string& word = words[index];
        const bool hasValue = index + 1 < words.size();
        if (word == "--") {
            // The end of options: what follows are names, even when they begin with "-". The
            // command's own parser needs the marker, too.
            auto rest = words.begin() + static_cast<std::ptrdiff_t>(index + 1);
            if (options.command.empty() && rest != words.end()) options.command = *rest++;
            options.commandWords.push_back(word);
            options.commandWords.insert(options.commandWords.end(), rest, words.end());
            break;
        }
        if (word == "--world" || word == "--history") {
            if (!hasValue) return ArgumentError{word + " needs a file"};
            (word == "--world" ? options.worldPath : options.historyPath) = words[++index];
        } else if (word == "--demo") {
            options.demo = true;
        } else if (word == "--trace") {
            options.trace = true;
        } else if (word == "--no-password") {
            options.noPassword = true;
        } else if (word == "--help" || word == "-h") {
            options.help = true;
        } else if (options.command.empty() && !word.starts_with("-")) {
            options.command = word;
        } else {
            options.commandWords.push_back(word);
        }
    }
    if (options.worldPath && options.demo) return ArgumentError{"--world and --demo cannot be combined"};
    if (options.command.empty() && !options.help) return ArgumentError{"no command given"};
    return options;
}

}  // namespace kestrixctl
