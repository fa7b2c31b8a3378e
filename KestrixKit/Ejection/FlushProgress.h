#pragma once

#include <cstdint>
#include <optional>

namespace kestrix {

// How much the kernel still has to write to a drive before it can let go of it.
struct FlushProgress {
    std::uint64_t bytesLeft = 0;
    // Absent until the drive has written enough to tell its pace.
    std::optional<double> secondsLeft;

    bool operator==(const FlushProgress&) const = default;
};

}  // namespace kestrix
