// Any bytes as /proc/meminfo and as a block device's stat file: the readers never fault, and what
// they read, estimated and put in words, never overflows into a wrong amount.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "KestrixKit/Ejection/FlushEstimate.h"
#include "KestrixKit/Ejection/FlushText.h"
#include "KestrixKit/Ejection/WritebackParsing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrix;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::uint64_t> cached = writeback::cachedBytes(text);
    const std::optional<writeback::DeviceWrites> writes = writeback::deviceWrites(text);
    if (writes && writes->writtenBytes % 512 != 0) std::abort();
    const WritebackSample start{.seconds = 1, .cachedBytes = cached.value_or(0), .writtenBytes = 0, .inFlight = 0};
    const WritebackSample now{.seconds = 2, .cachedBytes = cached.value_or(0),
                              .writtenBytes = writes ? writes->writtenBytes : 0, .inFlight = 0};
    if (const std::optional<FlushProgress> progress = estimateFlush(start, now)) {
        if (progress->bytesLeft > start.cachedBytes) std::abort();
        if (progress->secondsLeft && !(*progress->secondsLeft >= 0)) std::abort();
        if (flushMessage("SLOW", *progress).empty()) std::abort();
    }
    return 0;
}
