#pragma once

#include <optional>
#include <string>

namespace kestrix {

// What became of a request to let go of something the kernel holds a drive with: a disk image
// detached, swap stopped, or refused with the system's words when it gave any.
struct ReleaseOutcome {
    bool released = false;
    std::optional<std::string> message;

    bool operator==(const ReleaseOutcome&) const = default;
};

}  // namespace kestrix
