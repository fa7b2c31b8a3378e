#include "KestrixKit/Ejection/FlushEstimate.h"

#include <algorithm>

namespace kestrix {

std::optional<FlushProgress> estimateFlush(const WritebackSample& start, const WritebackSample& now) {
    // A counter that went back (the device was replaced meanwhile) tells nothing of the pace.
    const std::uint64_t written = now.writtenBytes >= start.writtenBytes ? now.writtenBytes - start.writtenBytes : 0;
    const std::uint64_t notYetWritten = start.cachedBytes > written ? start.cachedBytes - written : 0;
    const std::uint64_t left = std::min(now.cachedBytes, notYetWritten);
    if (left == 0) return std::nullopt;
    FlushProgress progress{.bytesLeft = left, .secondsLeft = std::nullopt};
    const double elapsed = now.seconds - start.seconds;
    if (written > 0 && elapsed > 0) {
        progress.secondsLeft = static_cast<double>(left) / (static_cast<double>(written) / elapsed);
    }
    return progress;
}

}  // namespace kestrix
