#include "KestrixKit/Linux/Apps/KeyFile.h"

#include "KestrixKit/Text/PlainText.h"

namespace kestrix::keyfile {

Group group(std::string_view text, std::string_view name) {
    Group keys;
    bool inGroup = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        line = text::trimming(line, " \t\r");
        if (line.empty() || line.starts_with('#')) continue;
        if (line.starts_with('[')) {
            if (inGroup) break;  // a later group of the same name does not add to the first
            inGroup = line.ends_with(']') && line.substr(1, line.size() - 2) == name;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inGroup || equals == std::string_view::npos) continue;
        const std::string_view key = text::trimmingBlanks(line.substr(0, equals));
        if (key.empty()) continue;
        keys.emplace(std::string(key), std::string(text::trimmingBlanks(line.substr(equals + 1))));
    }
    return keys;
}

std::string unescaped(std::string_view value) {
    std::string result;
    result.reserve(value.size());
    for (std::size_t index = 0; index < value.size(); ++index) {
        const char character = value[index];
        if (character != '\\' || index + 1 == value.size()) {
            result += character;
            continue;
        }
        switch (value[index + 1]) {
            case 's': result += ' '; break;
            case 'n': result += '\n'; break;
            case 't': result += '\t'; break;
            case 'r': result += '\r'; break;
            case '\\': result += '\\'; break;
            default: result += character; continue;
        }
        ++index;
    }
    return result;
}

}  // namespace kestrix::keyfile
