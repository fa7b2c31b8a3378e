#include "MoreAppsKit/MoreAppsResponse.h"

#include <algorithm>

namespace moreapps {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

std::optional<std::string> MoreAppsResponse::header(std::string_view name) const {
    const auto found = std::find_if(headers.begin(), headers.end(),
                                    [&](const auto& header) { return equalIgnoringCase(header.first, name); });
    if (found == headers.end()) return std::nullopt;
    return found->second;
}

}  // namespace moreapps
