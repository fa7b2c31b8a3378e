#include "MoreAppsKit/FieldRules.h"

#include <algorithm>
#include <array>

#include "MoreAppsKit/Characters.h"
#include "TextSupport/VisibleText.h"

namespace moreapps::FieldRules {

namespace {

bool isLowerAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }
bool isAlnum(char c) { return isLowerAlnum(c) || (c >= 'A' && c <= 'Z'); }

template <typename Allowed>
bool isAsciiRun(std::string_view text, std::size_t maxLength, Allowed allowed) {
    return !text.empty() && text.size() <= maxLength && std::all_of(text.begin(), text.end(), allowed);
}

std::string_view trimmingSpacesAndTabs(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

constexpr std::array<std::string_view, 13> tintNames = {
    "red", "orange", "yellow", "green", "mint", "teal", "cyan",
    "blue", "indigo", "purple", "pink", "brown", "gray"};

}  // namespace

bool isToken(std::string_view text) {
    return !text.starts_with('-') &&
           isAsciiRun(text, 60, [](char c) { return isLowerAlnum(c) || c == '-'; });
}

bool passesTextRule(std::string_view text, std::size_t limit) {
    return !trimmingSpacesAndTabs(text).empty() && !textsupport::hasDisallowedScalar(text) &&
           Characters::count(text) <= limit;
}

bool isSymbolName(std::string_view text) {
    return isAsciiRun(text, 60, [](char c) { return isLowerAlnum(c) || c == '.'; });
}

bool isBundleIdentifier(std::string_view text) {
    return isAsciiRun(text, 100, [](char c) { return isAlnum(c) || c == '.' || c == '-'; });
}

bool isLanguageCode(std::string_view text) {
    return text.size() == 2 && std::all_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

bool isTintName(std::string_view text) {
    return std::find(tintNames.begin(), tintNames.end(), text) != tintNames.end();
}

}  // namespace moreapps::FieldRules
