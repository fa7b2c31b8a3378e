#include "MoreAppsKit/FlatpakInfo.h"

namespace moreapps::FlatpakInfo {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool listHolds(std::string_view list, std::string_view item) {
    while (!list.empty()) {
        const auto end = list.find(';');
        if (trimmed(list.substr(0, end)) == item) return true;
        if (end == std::string_view::npos) break;
        list.remove_prefix(end + 1);
    }
    return false;
}

}  // namespace

bool sharesNetwork(std::string_view keyFile) {
    bool inContext = false;
    while (!keyFile.empty()) {
        const auto end = keyFile.find('\n');
        const std::string_view line = trimmed(keyFile.substr(0, end));
        keyFile.remove_prefix(end == std::string_view::npos ? keyFile.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            inContext = line == "[Context]";
            continue;
        }
        const auto equals = line.find('=');
        if (inContext && equals != std::string_view::npos && trimmed(line.substr(0, equals)) == "shared") {
            return listHolds(line.substr(equals + 1), "network");
        }
    }
    return false;
}

}  // namespace moreapps::FlatpakInfo
