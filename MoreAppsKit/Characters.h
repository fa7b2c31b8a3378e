#pragma once

#include <cstddef>
#include <string_view>

// User-perceived characters (grapheme clusters) in UTF-8 text.
namespace moreapps::Characters {

std::size_t count(std::string_view utf8);

// The leading `limit` characters of the text.
std::string_view prefix(std::string_view utf8, std::size_t limit);

}  // namespace moreapps::Characters
