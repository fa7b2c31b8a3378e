#include <gtest/gtest.h>

#include "KestrixApp/Views/Style/WindowFit.h"

namespace {

using namespace kestrix::views;

TEST(WindowFit, AWindowTooLargeForTheScreenShrinksAndKeepsItsTitleBarOnScreen) {
    const QRect belowAPanel(0, 32, 1024, 568);
    const QMargins frame(4, 38, 4, 6);
    const QSize fitted = fittedWindowSize(QSize(920, 640), belowAPanel, frame);
    EXPECT_EQ(fitted, QSize(920, 524));
    EXPECT_TRUE(belowAPanel.contains(QRect(centredWindowPosition(fitted, belowAPanel, frame), fitted.grownBy(frame))));
    EXPECT_EQ(fittedWindowSize(QSize(580, 480), belowAPanel, frame), QSize(580, 480)) << "what fits keeps its size";
    // A window the screen cannot hold, as it is being unplugged: its title bar at the top left.
    const QRect tiny(100, 100, 30, 20);
    EXPECT_EQ(fittedWindowSize(QSize(920, 640), tiny, frame), QSize(22, 0));
    EXPECT_EQ(centredWindowPosition(QSize(920, 640), tiny, frame), QPoint(100, 100));
}

}  // namespace
