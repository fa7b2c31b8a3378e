#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Unicode rules for matching process names against the name tables.
namespace kestrix::processname {

// The name in lower case, independent of any locale.
std::string lowercased(std::string_view utf8);
// The number of user-perceived characters (grapheme clusters).
std::size_t characterCount(std::string_view utf8);

}  // namespace kestrix::processname
