#pragma once

#include <cstdint>
#include <string>

namespace kestrix {

// What a finished command left: its exit status and its output and error text interleaved.
struct CommandOutput {
    std::int32_t exitStatus = 0;
    std::string output;

    bool operator==(const CommandOutput&) const = default;
};

}  // namespace kestrix
