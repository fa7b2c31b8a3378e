#include <gtest/gtest.h>

#include <QWidget>

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

// Wayland reports a screen as wholly free, bars and all: a window as high as that would reach under
// the bar. Elsewhere what the window manager reports is the truth, a screen without a panel included.
TEST(WindowFit, WhereBarsAreUnknownRoomForOneIsKept) {
    const QRect output(0, 0, 1024, 640);
    const QRect free = freeWindowArea(output, output, true);
    EXPECT_EQ(free, QRect(0, 0, 1024, 608));
    // sway's title bar and borders, above its 23-pixel bar.
    const QMargins swayFrame(2, 25, 2, 2);
    EXPECT_LE(fittedWindowSize(QSize(400, QWIDGETSIZE_MAX), free).grownBy(swayFrame).height(), 640 - 23);

    EXPECT_EQ(freeWindowArea(output, output, false), output) << "a bare X11 desktop has the whole screen";
    const QRect belowAPanel(0, 32, 1024, 608);
    EXPECT_EQ(freeWindowArea(belowAPanel, output, true), belowAPanel) << "a compositor that says is believed";
    EXPECT_EQ(freeWindowArea(QRect(0, 0, 100, 20), QRect(0, 0, 100, 20), true).height(), 0);
}

}  // namespace
