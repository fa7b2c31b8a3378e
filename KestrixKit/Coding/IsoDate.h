#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

// A date as ISO 8601 in UTC with whole seconds, "2025-03-01T14:05:09Z"; a fraction is dropped.
std::string isoDateString(std::chrono::system_clock::time_point date);

// Reads exactly the form isoDateString writes; nothing for any other form or an impossible date.
std::optional<std::chrono::system_clock::time_point> isoDate(std::string_view text);

}  // namespace kestrix
