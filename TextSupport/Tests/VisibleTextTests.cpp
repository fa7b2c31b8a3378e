#include <gtest/gtest.h>

#include "TextSupport/VisibleText.h"

using textsupport::hasDisallowedScalar;
using textsupport::visibleText;

TEST(VisibleText, ShowsWhatATerminalWouldRunOrHideAndKeepsTheRest) {
    // A process name that would set the window title, clear the screen and fake a line.
    EXPECT_EQ(visibleText("evil\x1b]0;owned\x07\x1b[2J\nNothing is using X"),
              "evil\\u{1B}]0;owned\\u{7}\\u{1B}[2J\\u{A}Nothing is using X");
    // C1 controls, a direction override, a line separator and bytes that are not UTF-8.
    EXPECT_EQ(visibleText("a\xc2\x9b" "b\u202e" "c\u2028" "d\xff\xc3"), "a\\u{9B}b\\u{202E}c\\u{2028}d\\xFF\\xC3");
    const std::string ordinary = "Caf\u00e9 \u00b7 \u201cPhotos\u201d \u2014 \u65e5\u672c \U0001F4F7 C:\\x";
    EXPECT_EQ(visibleText(ordinary), ordinary);
    EXPECT_FALSE(hasDisallowedScalar(ordinary));
    EXPECT_TRUE(hasDisallowedScalar("tab\there"));
    EXPECT_TRUE(hasDisallowedScalar("\xed\xa0\x80"));
}
