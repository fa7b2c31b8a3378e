#pragma once

#include <cstdint>
#include <optional>

namespace kestrix {

// One process for its whole life: a pid alone may name another process once the first has
// exited. The start time (clock ticks after boot on Linux, /proc/PID/stat field 22) tells them
// apart; absent where it could not be read, and then nothing can be done to the process.
struct ProcessIdentity {
    std::int32_t pid = 0;
    std::optional<std::uint64_t> startTime;

    bool operator==(const ProcessIdentity&) const = default;
};

}  // namespace kestrix
