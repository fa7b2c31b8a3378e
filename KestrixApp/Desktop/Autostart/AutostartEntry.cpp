#include "KestrixApp/Desktop/Autostart/AutostartEntry.h"

#include <array>
#include <sstream>
#include <string_view>

namespace kestrix::desktop::AutostartEntry {

namespace {

constexpr std::string_view mainGroup = "[Desktop Entry]";
constexpr std::array droppedKeys{std::string_view("Exec"), std::string_view("TryExec"),
                                 std::string_view("DBusActivatable"), std::string_view("MimeType"),
                                 std::string_view("Actions"), std::string_view("Hidden")};

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The key of a "Key=value" or "Key[locale]=value" line; empty for other lines.
std::string_view keyOf(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return {};
    auto key = trimmed(line.substr(0, equals));
    return key.substr(0, key.find('['));
}

// Calls visit for each line of the main group, in order.
template <typename Visit>
void forEachMainGroupLine(const std::string& entry, Visit visit) {
    std::istringstream lines(entry);
    std::string line;
    bool inMainGroup = false;
    while (std::getline(lines, line)) {
        const auto content = trimmed(line);
        if (content.starts_with('[')) {
            inMainGroup = content == mainGroup;
            continue;
        }
        if (inMainGroup) visit(line, content);
    }
}

// A desktop entry's Exec argument, quoted so that any path survives the Exec syntax.
std::string execArgument(const std::string& program) {
    std::string quoted = "\"";
    // Escaped once for the quoting and once more for the string value: a quote is written \\"
    // and a backslash \\\\.
    for (const char c : program) {
        if (c == '\\') quoted += "\\\\\\\\";
        else if (c == '"' || c == '`' || c == '$') quoted += std::string("\\\\") + c;
        else if (c == '%') quoted += "%%";
        else quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::string text(const std::optional<std::string>& installedEntry, const std::string& executable) {
    std::string result(mainGroup);
    result += '\n';
    if (installedEntry) {
        forEachMainGroupLine(*installedEntry, [&](const std::string& line, std::string_view content) {
            const auto key = keyOf(content);
            for (const auto dropped : droppedKeys)
                if (key == dropped) return;
            if (!content.empty() && !content.starts_with('#')) result += line + '\n';
        });
    }
    else
        result += "Type=Application\nName=Kestrix\nIcon=com.orvane.Kestrix\n";
    result += "Exec=" + execArgument(executable) + " " + backgroundOption + "\n";
    return result;
}

bool starts(const std::string& entryText) {
    bool hidden = false;
    forEachMainGroupLine(entryText, [&](const std::string&, std::string_view content) {
        const auto equals = content.find('=');
        if (equals != std::string_view::npos && keyOf(content) == "Hidden" &&
            content.find('[') == std::string_view::npos)
            hidden = trimmed(content.substr(equals + 1)) == "true";
    });
    return !hidden;
}

}  // namespace kestrix::desktop::AutostartEntry
