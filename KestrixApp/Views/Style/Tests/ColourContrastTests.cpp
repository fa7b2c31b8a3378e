#include <gtest/gtest.h>

#include "KestrixApp/Views/Style/ColourContrast.h"

using namespace kestrix::views;

TEST(ColourContrast, MeasuresAsTheGuidelinesDo) {
    EXPECT_NEAR(contrastRatio(Qt::black, Qt::white), 21.0, 0.01);
    EXPECT_NEAR(contrastRatio(Qt::white, Qt::white), 1.0, 0.001);
    EXPECT_NEAR(contrastRatio(QColor(0x76, 0x76, 0x76), Qt::white), 4.54, 0.02);
    // Half-transparent black over white is middle grey.
    const QColor grey = composited(QColor(0, 0, 0, 128), Qt::white);
    EXPECT_NEAR(grey.red(), 127, 1);
    EXPECT_EQ(grey.alpha(), 255);
}

TEST(ColourContrast, ATintedTextIsDarkenedOnLightAndLightenedOnDarkOnlyAsFarAsNeeded) {
    const QColor green(40, 167, 69);
    const QColor lightChip = composited(QColor(40, 167, 69, 41), QColor(0xef, 0xef, 0xef));
    ASSERT_LT(contrastRatio(green, lightChip), 3.0) << "the plain tint is too light on its own fill";
    const QColor darker = readableOn(green, lightChip, 3.0);
    EXPECT_GE(contrastRatio(darker, lightChip), 3.0);
    EXPECT_LT(contrastRatio(darker, lightChip), 3.6) << "no darker than it has to be";
    EXPECT_GT(darker.green(), darker.red()) << "still green";

    const QColor blue(10, 132, 255);
    const QColor darkWindow(0x1e, 0x1e, 0x1e);
    const QColor lighter = readableOn(blue, darkWindow, 7.0);
    EXPECT_GE(contrastRatio(lighter, darkWindow), 7.0);
    EXPECT_GT(relativeLuminance(lighter), relativeLuminance(blue));

    const QColor black(Qt::black);
    EXPECT_EQ(readableOn(black, Qt::white, 4.5), black) << "readable colours stay as they are";
}
