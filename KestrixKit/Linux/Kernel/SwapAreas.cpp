#include "KestrixKit/Linux/Kernel/SwapAreas.h"

#include <algorithm>

namespace kestrix {
namespace {

bool isOctalDigit(char character) { return character >= '0' && character <= '7'; }

// The kernel writes " \t\n\\" in a path as a backslash and three octal digits.
std::string unescaped(std::string_view field) {
    std::string path;
    for (std::size_t index = 0; index < field.size(); ++index) {
        if (field[index] == '\\' && index + 3 < field.size() && isOctalDigit(field[index + 1]) &&
            isOctalDigit(field[index + 2]) && isOctalDigit(field[index + 3])) {
            path += static_cast<char>(((field[index + 1] - '0') << 6) | ((field[index + 2] - '0') << 3) |
                                      (field[index + 3] - '0'));
            index += 3;
        } else {
            path += field[index];
        }
    }
    return path;
}

// The next blank-separated field from position on; empty at the end of the line.
std::string_view nextField(std::string_view line, std::size_t& position) {
    while (position < line.size() && (line[position] == ' ' || line[position] == '\t')) ++position;
    const std::size_t start = position;
    while (position < line.size() && line[position] != ' ' && line[position] != '\t') ++position;
    return line.substr(start, position - start);
}

}  // namespace

std::vector<SwapArea> parseSwapAreas(std::string_view text) {
    std::vector<SwapArea> areas;
    bool heading = true;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (heading) {
            heading = false;
            continue;
        }
        std::size_t position = 0;
        const std::string_view path = nextField(line, position);
        const std::string_view type = nextField(line, position);
        if (path.empty() || type.empty()) continue;
        areas.push_back({.path = unescaped(path), .isPartition = type == "partition"});
    }
    return areas;
}

}  // namespace kestrix
