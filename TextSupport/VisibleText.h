#pragma once

#include <string>
#include <string_view>

// Text from outside (names, labels, paths, feed fields) shown where hidden characters could act:
// a terminal runs escape sequences, a line break fakes a line, a direction mark reorders text.
namespace textsupport {

// True when the text holds a control, format, line or paragraph separator, surrogate,
// private-use or unassigned scalar, or is not well-formed UTF-8.
bool hasDisallowedScalar(std::string_view utf8);

// The text with each such scalar written as \u{XXXX} and each byte of invalid UTF-8 as \xXX;
// everything else is kept as it is.
std::string visibleText(std::string_view text);

}  // namespace textsupport
