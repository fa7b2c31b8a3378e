#include "KestrixKit/Linux/Apps/DesktopEntry.h"

#include "KestrixKit/Linux/Apps/KeyFile.h"
#include "KestrixKit/Text/PlainText.h"

namespace kestrix {

std::optional<DesktopEntry> parseDesktopEntry(std::string_view text, const std::vector<std::string>& locales) {
    const keyfile::Group keys = keyfile::group(text, "Desktop Entry");
    const auto value = [&](const std::string& key) -> std::optional<std::string> {
        const auto found = keys.find(key);
        if (found == keys.end()) return std::nullopt;
        return keyfile::unescaped(found->second);
    };
    if (const auto type = value("Type"); type && *type != "Application") return std::nullopt;
    std::optional<std::string> name;
    for (const std::string& locale : locales) {
        // An empty translation is none.
        if ((name = value("Name[" + locale + "]")) && !name->empty()) break;
        name.reset();
    }
    if (!name) name = value("Name");
    if (!name || name->empty()) return std::nullopt;
    DesktopEntry entry{.name = std::move(*name), .noDisplay = value("NoDisplay") == "true",
                       .terminal = value("Terminal") == "true"};
    if (const auto exec = value("Exec")) entry.program = execProgram(execArguments(*exec));
    if (auto tryExec = value("TryExec"); tryExec && !tryExec->empty()) entry.tryExec = std::move(*tryExec);
    return entry;
}

std::vector<std::string> execArguments(std::string_view exec) {
    std::vector<std::string> arguments;
    std::size_t index = 0;
    while (index < exec.size()) {
        if (exec[index] == ' ' || exec[index] == '\t') {
            ++index;
            continue;
        }
        std::string argument;
        if (exec[index] == '"') {
            for (++index; index < exec.size() && exec[index] != '"'; ++index) {
                const bool escaped = exec[index] == '\\' && index + 1 < exec.size() &&
                                     std::string_view("\"`$\\").find(exec[index + 1]) != std::string_view::npos;
                if (escaped) ++index;
                argument += exec[index];
            }
            ++index;  // the closing quote
        } else {
            for (; index < exec.size() && exec[index] != ' ' && exec[index] != '\t'; ++index) argument += exec[index];
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::optional<std::string> execProgram(const std::vector<std::string>& arguments) {
    std::size_t first = 0;
    if (!arguments.empty() && text::lastPathComponent(arguments[0]) == "env") {
        for (first = 1; first < arguments.size(); ++first) {
            const std::string& argument = arguments[first];
            if (!argument.starts_with('-') && argument.find('=') == std::string::npos) break;
            // -u NAME and -C FOLDER take the next argument with them.
            if (argument == "-u" || argument == "-C") ++first;
        }
    }
    if (first >= arguments.size() || arguments[first].empty()) return std::nullopt;
    if (text::lastPathComponent(arguments[first]) == "flatpak" && first + 1 < arguments.size() &&
        arguments[first + 1] == "run") {
        constexpr std::string_view command = "--command=";
        for (std::size_t index = first + 2; index < arguments.size(); ++index) {
            if (arguments[index].starts_with(command) && arguments[index].size() > command.size()) {
                return arguments[index].substr(command.size());
            }
        }
    }
    return arguments[first];
}

}  // namespace kestrix
