#include <gtest/gtest.h>

#include <limits>

#include "KestrixKit/Ejection/FlushEstimate.h"
#include "KestrixKit/Ejection/FlushText.h"
#include "KestrixKit/Ejection/WritebackParsing.h"

using namespace kestrix;

namespace {

constexpr std::uint64_t megabyte = 1'000'000;

WritebackSample at(double seconds, std::uint64_t cached, std::uint64_t written) {
    return WritebackSample{.seconds = seconds, .cachedBytes = cached, .writtenBytes = written, .inFlight = 1};
}

}  // namespace

TEST(FlushEstimate, TheDrivesOwnPaceOverWhatTheCacheStillHolds) {
    // 40 MB cached at the start; the drive wrote 4 MB in 2 s.
    const WritebackSample start = at(10, 40 * megabyte, 500 * megabyte);
    EXPECT_EQ(estimateFlush(start, at(12, 36 * megabyte, 504 * megabyte)),
              (FlushProgress{.bytesLeft = 36 * megabyte, .secondsLeft = 18.0}));
    // Another drive's writes fill the cache meanwhile: only what this drive had left counts.
    EXPECT_EQ(estimateFlush(start, at(12, 90 * megabyte, 504 * megabyte))->bytesLeft, 36 * megabyte);
    // Another drive wrote out its share meanwhile: the cache holds less than this drive had.
    EXPECT_EQ(estimateFlush(start, at(12, 20 * megabyte, 504 * megabyte))->bytesLeft, 20 * megabyte);
    // Nothing written yet: an amount without a pace.
    EXPECT_EQ(estimateFlush(start, at(11, 40 * megabyte, 500 * megabyte)),
              (FlushProgress{.bytesLeft = 40 * megabyte, .secondsLeft = std::nullopt}));
    // A counter that went back (another device under the name) gives no pace and no underflow.
    EXPECT_EQ(estimateFlush(start, at(12, 40 * megabyte, 0))->bytesLeft, 40 * megabyte);
    // Everything written, or an empty cache: nothing to show.
    EXPECT_FALSE(estimateFlush(start, at(30, 1 * megabyte, 540 * megabyte)));
    EXPECT_FALSE(estimateFlush(start, at(12, 0, 504 * megabyte)));
}

TEST(WritebackParsing, ReadsTheKernelsFilesAndRefusesWhatIsNotANumber) {
    const std::string meminfo = "MemTotal:       24576000 kB\nDirty:             37000 kB\n"
                                "Writeback:          1024 kB\nWritebackTmp:     99999 kB\n";
    EXPECT_EQ(writeback::cachedBytes(meminfo), (37000 + 1024) * 1024ull);
    EXPECT_EQ(writeback::cachedBytes("Dirty: 12 kB\n"), 12 * 1024ull);
    EXPECT_FALSE(writeback::cachedBytes("MemTotal: 1 kB\nWritebackTmp: 5 kB\n"));
    EXPECT_FALSE(writeback::cachedBytes("Dirty: many kB\n"));
    EXPECT_FALSE(writeback::cachedBytes("Dirty: 99999999999999999999 kB\n"));

    const std::string stat = "    1234     0   56789    100    4321     12  9876543   2000     3    900   2100\n";
    EXPECT_EQ(writeback::deviceWrites(stat), (writeback::DeviceWrites{.writtenBytes = 9876543ull * 512, .inFlight = 3}));
    EXPECT_FALSE(writeback::deviceWrites("1 2 3 4 5 6 7 8"));
    EXPECT_FALSE(writeback::deviceWrites("1 2 3 4 5 6 -7 8 9"));
    EXPECT_FALSE(writeback::deviceWrites("1 2 3 4 5 6 36028797018963968 8 9"));
}

TEST(FlushText, SaysWhatIsLeftAndHowLongInSecondsThenMinutes) {
    EXPECT_EQ(flushMessage("SLOW", {.bytesLeft = 38 * megabyte, .secondsLeft = 18.2}),
              "Writing 38 MB to SLOW… Don’t unplug it yet (about 19 s left).");
    EXPECT_EQ(flushMessage("SLOW", {.bytesLeft = 600 * megabyte, .secondsLeft = 300.0}),
              "Writing 600 MB to SLOW… Don’t unplug it yet (about 5 min left).");
    EXPECT_EQ(flushMessage("SLOW", {.bytesLeft = 2 * megabyte, .secondsLeft = std::nullopt}),
              "Writing 2 MB to SLOW… Don’t unplug it yet.");
    EXPECT_EQ(flushMessage("SLOW", {.bytesLeft = 1, .secondsLeft = std::numeric_limits<double>::infinity()}),
              "Writing 1 byte to SLOW… Don’t unplug it yet.");
    EXPECT_NE(flushMessage("SLOW", {.bytesLeft = 1, .secondsLeft = 1e300}).find("min left"), std::string::npos);
}
