#include "KestrixKit/Linux/Apps/AppCgroup.h"

#include <charconv>

namespace kestrix::appcgroup {
namespace {

// Unit names write bytes such as the "-" inside a name as \xHH.
std::string unitUnescaped(std::string_view name) {
    std::string result;
    for (std::size_t index = 0; index < name.size(); ++index) {
        unsigned value = 0;
        if (name[index] == '\\' && index + 3 < name.size() && name[index + 1] == 'x') {
            const char* digits = name.data() + index + 2;
            const auto [end, error] = std::from_chars(digits, digits + 2, value, 16);
            if (error == std::errc{} && end == digits + 2) {
                result += static_cast<char>(value);
                index += 3;
                continue;
            }
        }
        result += name[index];
    }
    return result;
}

std::vector<std::string_view> splitAtDashes(std::string_view text) {
    std::vector<std::string_view> pieces;
    for (;;) {
        const std::size_t dash = text.find('-');
        pieces.push_back(text.substr(0, dash));
        if (dash == std::string_view::npos) return pieces;
        text.remove_prefix(dash + 1);
    }
}

std::string joined(const std::vector<std::string_view>& pieces, std::size_t first) {
    std::string result;
    for (std::size_t index = first; index < pieces.size(); ++index) {
        if (index > first) result += '-';
        result += pieces[index];
    }
    return result;
}

// "[<launcher>-]<id>": the id after a launcher, else the whole, since a launcher that did not
// escape the dashes of an id leaves them looking like the launcher's.
std::vector<std::string> launcherAndID(std::string_view body) {
    const std::vector<std::string_view> pieces = splitAtDashes(body);
    for (const std::string_view piece : pieces) {
        if (piece.empty()) return {};
    }
    std::vector<std::string> ids;
    if (pieces.size() > 1) ids.push_back(unitUnescaped(joined(pieces, 1)));
    ids.push_back(unitUnescaped(joined(pieces, 0)));
    return ids;
}

bool isUUID(std::string_view text) {
    if (text.size() != 36) return false;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const bool dashPlace = index == 8 || index == 13 || index == 18 || index == 23;
        const char character = text[index];
        const bool hex = (character >= '0' && character <= '9') || (character >= 'a' && character <= 'f');
        if (dashPlace ? character != '-' : !hex) return false;
    }
    return true;
}

// snap.<name>.<app>-<uuid>.scope → <name>_<app>, the name of the snap's desktop entry.
std::vector<std::string> snapDesktopID(std::string_view unitName) {
    constexpr std::string_view prefix = "snap.";
    constexpr std::string_view suffix = ".scope";
    if (!unitName.starts_with(prefix) || !unitName.ends_with(suffix)) return {};
    std::string_view body = unitName.substr(prefix.size(), unitName.size() - prefix.size() - suffix.size());
    if (body.size() < 38 || body[body.size() - 37] != '-' || !isUUID(body.substr(body.size() - 36))) return {};
    body.remove_suffix(37);
    const std::size_t dot = body.find('.');
    if (dot == 0 || dot == std::string_view::npos || dot + 1 == body.size() ||
        body.find('.', dot + 1) != std::string_view::npos) {
        return {};
    }
    return {std::string(body.substr(0, dot)) + "_" + std::string(body.substr(dot + 1))};
}

}  // namespace

std::optional<std::string> unifiedPath(std::string_view cgroupFile) {
    while (!cgroupFile.empty()) {
        const std::size_t end = cgroupFile.find('\n');
        const std::string_view line = cgroupFile.substr(0, end);
        cgroupFile.remove_prefix(end == std::string_view::npos ? cgroupFile.size() : end + 1);
        if (line.starts_with("0::/")) return std::string(line.substr(3));
    }
    return std::nullopt;
}

std::vector<std::string> desktopIDs(std::string_view unitName) {
    constexpr std::string_view prefix = "app-";
    if (!unitName.starts_with(prefix)) return snapDesktopID(unitName);
    std::string_view body = unitName.substr(prefix.size());
    if (body.ends_with(".scope")) {
        body.remove_suffix(6);
        const std::size_t dash = body.rfind('-');
        if (dash == std::string_view::npos || dash + 1 == body.size()) return {};
        return launcherAndID(body.substr(0, dash));
    }
    if (body.ends_with(".service")) {
        body.remove_suffix(8);
        return launcherAndID(body.substr(0, body.find('@')));
    }
    return {};
}

std::optional<AppUnit> appUnit(std::string_view cgroupPath) {
    while (!cgroupPath.empty()) {
        const std::size_t slash = cgroupPath.rfind('/');
        const std::string_view unitName = cgroupPath.substr(slash == std::string_view::npos ? 0 : slash + 1);
        if (std::vector<std::string> ids = desktopIDs(unitName); !ids.empty()) {
            return AppUnit{.desktopIDs = std::move(ids), .cgroupPath = std::string(cgroupPath)};
        }
        cgroupPath = cgroupPath.substr(0, slash == std::string_view::npos ? 0 : slash);
    }
    return std::nullopt;
}

std::optional<std::int32_t> lowestPID(std::string_view procsFile) {
    std::optional<std::int32_t> lowest;
    while (!procsFile.empty()) {
        const std::size_t end = procsFile.find('\n');
        const std::string_view line = procsFile.substr(0, end);
        procsFile.remove_prefix(end == std::string_view::npos ? procsFile.size() : end + 1);
        std::int32_t pid = 0;
        const auto [stop, error] = std::from_chars(line.data(), line.data() + line.size(), pid);
        if (error == std::errc{} && stop == line.data() + line.size() && pid > 0 && (!lowest || pid < *lowest)) {
            lowest = pid;
        }
    }
    return lowest;
}

}  // namespace kestrix::appcgroup
