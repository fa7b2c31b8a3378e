#pragma once

#include <cstdint>
#include <string>

namespace kestrix {

// A byte count in decimal units the way file sizes are shown to users: "64 GB", "1.5 MB",
// "500 KB", "Zero KB"; kilobytes without decimals, megabytes with one, larger units with two,
// trailing zeros dropped.
std::string formatByteCount(std::uint64_t bytes);

}  // namespace kestrix
