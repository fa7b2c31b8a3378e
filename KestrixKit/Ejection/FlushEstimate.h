#pragma once

#include <optional>

#include "KestrixKit/Ejection/FlushProgress.h"
#include "KestrixKit/Ejection/WritebackSample.h"

namespace kestrix {

// A flush shorter than this passes unremarked, as an eject usually takes that long anyway.
inline constexpr double flushShownAfterSeconds = 1.0;

// The amount left and the time it may take, from the sample taken when the flush began and the
// one taken now. The page cache is counted for every drive at once, so the amount is the smaller
// of what it holds now and what it held at the start less what this drive wrote since; the pace
// is this drive's own. Nothing when nothing is left to write.
std::optional<FlushProgress> estimateFlush(const WritebackSample& start, const WritebackSample& now);

}  // namespace kestrix
