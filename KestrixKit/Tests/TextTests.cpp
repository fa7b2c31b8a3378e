#include <gtest/gtest.h>

#include "KestrixKit/Text/ByteCountFormat.h"
#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Text/UnicodeText.h"

using namespace kestrix;

TEST(ByteCountFormat, DecimalUnitsWithThePrecisionOfEachUnit) {
    EXPECT_EQ(formatByteCount(0), "Zero KB");
    EXPECT_EQ(formatByteCount(1), "1 byte");
    EXPECT_EQ(formatByteCount(999), "999 bytes");
    EXPECT_EQ(formatByteCount(1000), "1 KB");
    EXPECT_EQ(formatByteCount(500'400), "500 KB");
    EXPECT_EQ(formatByteCount(999'999), "1 MB");
    EXPECT_EQ(formatByteCount(1'500'000), "1.5 MB");
    EXPECT_EQ(formatByteCount(64'000'000'000), "64 GB");
    EXPECT_EQ(formatByteCount(12'345'678'901), "12.35 GB");
    EXPECT_EQ(formatByteCount(2'000'000'000'000), "2 TB");
    EXPECT_EQ(formatByteCount(UINT64_MAX), "18.45 EB");
}

TEST(Localized, FormatFillsNumberedPlaceholders) {
    EXPECT_EQ(localizedFormat("%2 before %1", {"a", "b"}), "b before a");
    EXPECT_EQ(localizedFormat("100% and %3", {"a"}), "100% and %3");
}

TEST(UnicodeText, NameOrderIgnoresLetterCaseEvenInThePosixLocale) {
    // Runs under whatever locale the environment sets, C.UTF-8 included.
    EXPECT_LT(text::localizedCaseInsensitiveCompare("beta", "Zed"), 0);
    EXPECT_GT(text::localizedCaseInsensitiveCompare("Zed", "alpha"), 0);
    EXPECT_EQ(text::localizedCaseInsensitiveCompare("Finder", "finder"), 0);
}
