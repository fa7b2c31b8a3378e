#pragma once

#include <cstdint>

namespace kestrix {

// What the kernel says, at one moment, about the data still on its way to a drive: what any
// user may read, so that the wait can be shown without privileges.
struct WritebackSample {
    // On a monotonic clock.
    double seconds = 0;
    // Everything the page cache still has to write, for every drive (Dirty + Writeback).
    std::uint64_t cachedBytes = 0;
    // What the drive has written since it was attached.
    std::uint64_t writtenBytes = 0;
    // Requests the drive is working on now.
    std::uint64_t inFlight = 0;

    bool operator==(const WritebackSample&) const = default;
};

}  // namespace kestrix
