#pragma once

#include <cstddef>
#include <string_view>

// User-perceived characters (grapheme clusters) and Unicode scalar checks on UTF-8 text.
namespace moreapps::Characters {

std::size_t count(std::string_view utf8);

// The leading `limit` characters of the text.
std::string_view prefix(std::string_view utf8, std::size_t limit);

// True when the text holds a control, format, line or paragraph separator, surrogate,
// private-use or unassigned scalar, or is not well-formed UTF-8.
bool hasDisallowedScalar(std::string_view utf8);

}  // namespace moreapps::Characters
