#pragma once

#include <string_view>

namespace kestrixctl {

// The one-line usage and the full --help text describing every command and option.
extern const std::string_view usageLine;
extern const std::string_view helpText;

}  // namespace kestrixctl
