#pragma once

#include <compare>
#include <string_view>

namespace kestrix::desktop {

// Versions compare by their dot-separated numbers, one by one: 1.10 comes after 1.9, and 1.0
// equals 1. Within a component only the leading digits count ("2-beta" is 2; no digits is 0),
// and numbers of any length compare without overflowing.
std::strong_ordering compareVersions(std::string_view left, std::string_view right);

// A version starts with a digit; anything else in a feed is not one.
bool isVersion(std::string_view text);

}  // namespace kestrix::desktop
