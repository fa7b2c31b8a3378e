#include "KestrixApp/Desktop/Quitting/GApplicationAddress.h"

#include <algorithm>

namespace kestrix::desktop {
namespace {

constexpr std::size_t maximumBusNameLength = 255;

bool isNameCharacter(char character) {
    return (character >= 'A' && character <= 'Z') || (character >= 'a' && character <= 'z') ||
           (character >= '0' && character <= '9') || character == '_' || character == '-';
}

// The well-known bus name rules: two or more non-empty elements of letters, digits, '_' and '-',
// none starting with a digit.
bool isApplicationID(std::string_view id) {
    if (id.empty() || id.size() > maximumBusNameLength) return false;
    std::size_t elements = 0;
    std::size_t start = 0;
    while (start <= id.size()) {
        const std::size_t end = std::min(id.find('.', start), id.size());
        const std::string_view element = id.substr(start, end - start);
        if (element.empty() || (element.front() >= '0' && element.front() <= '9')) return false;
        if (!std::all_of(element.begin(), element.end(), isNameCharacter)) return false;
        ++elements;
        start = end + 1;
    }
    return elements >= 2;
}

}  // namespace

std::optional<GApplicationAddress> gApplicationAddress(std::string_view desktopID) {
    constexpr std::string_view entrySuffix = ".desktop";
    if (desktopID.ends_with(entrySuffix)) desktopID.remove_suffix(entrySuffix.size());
    if (!isApplicationID(desktopID)) return std::nullopt;
    std::string path = std::string("/").append(desktopID);
    std::replace(path.begin(), path.end(), '.', '/');
    std::replace(path.begin(), path.end(), '-', '_');
    return GApplicationAddress{.busName = std::string(desktopID), .objectPath = std::move(path)};
}

}  // namespace kestrix::desktop
