#pragma once

#include <cstddef>
#include <string_view>

namespace kestrix {

// Linux keeps only the first 15 bytes of a command's name (/proc/PID/comm, the status Name).
inline constexpr std::size_t commandNameLimit = 15;

// Whether name may be fullName cut to the limit: it has the limit's length and fullName,
// longer, begins with it.
constexpr bool isCutFrom(std::string_view name, std::string_view fullName) {
    return name.size() == commandNameLimit && fullName.size() > commandNameLimit && fullName.starts_with(name);
}

}  // namespace kestrix
