#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

// One swap area the kernel uses, as /proc/swaps lists it.
struct SwapArea {
    std::string path;
    bool isPartition = false;

    bool operator==(const SwapArea&) const = default;
};

// The areas of /proc/swaps' text, the heading line left out. A path's blanks and backslashes
// come octal-escaped ("\040"); a line without a path and a type is skipped.
std::vector<SwapArea> parseSwapAreas(std::string_view text);

}  // namespace kestrix
