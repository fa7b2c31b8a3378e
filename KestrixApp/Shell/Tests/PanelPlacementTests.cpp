#include <gtest/gtest.h>

#include "KestrixApp/Shell/PanelPlacement.h"

namespace {

using kestrix::shell::panelFrame;
using kestrix::shell::ScreenArea;

const QSize panel(400, 600);

// A 1280×800 screen at x with a 30-pixel panel reserved at the top or the bottom.
ScreenArea screenWithPanel(int x, bool panelAtTop) {
    const QRect geometry(x, 0, 1280, 800);
    return {geometry, panelAtTop ? geometry.adjusted(0, 30, 0, 0) : geometry.adjusted(0, 0, 0, -30)};
}

void expectBesideAndInside(const std::optional<QRect>& frame, const QRect& anchor, const ScreenArea& screen) {
    ASSERT_TRUE(frame.has_value());
    EXPECT_TRUE(screen.available.contains(*frame)) << "frame " << frame->x() << "," << frame->y() << " "
                                                   << frame->width() << "×" << frame->height();
    EXPECT_FALSE(frame->intersects(anchor)) << "the panel never covers its icon";
}

TEST(PanelPlacement, DropsFromATopTrayAndRisesFromABottomOneWithinTheFreeArea) {
    // An icon in the top right corner: below it, pushed in from the screen's edge.
    const ScreenArea top = screenWithPanel(0, true);
    const QRect topIcon(1250, 4, 22, 22);
    const auto below = panelFrame(panel, topIcon, {top});
    expectBesideAndInside(below, topIcon, top);
    EXPECT_EQ(below->size(), panel);
    EXPECT_EQ(below->right(), top.available.right());
    EXPECT_LE(below->top() - topIcon.bottom(), 40) << "next to its icon";

    // An icon in a bottom panel, outside the free area: above it.
    const ScreenArea bottom = screenWithPanel(0, false);
    const QRect bottomIcon(600, 774, 22, 22);
    const auto above = panelFrame(panel, bottomIcon, {bottom});
    expectBesideAndInside(above, bottomIcon, bottom);
    EXPECT_EQ(above->size(), panel);
    EXPECT_EQ(above->bottom(), bottom.available.bottom());
    EXPECT_NEAR(above->center().x(), bottomIcon.center().x(), 1) << "centred on its icon where there is room";
}

TEST(PanelPlacement, APanelTallerThanTheRoomGetsTheRoomAndAVerticalTrayPutsItBeside) {
    const ScreenArea small{QRect(0, 0, 1024, 600), QRect(0, 0, 1024, 570)};
    const QRect icon(990, 574, 22, 22);
    const auto cut = panelFrame(QSize(400, 900), icon, {small});
    expectBesideAndInside(cut, icon, small);
    EXPECT_EQ(cut->width(), 400);
    EXPECT_LE(cut->bottom(), icon.top()) << "above its icon, as high as the screen allows";

    // A panel down the left edge with the icon halfway: neither above nor below has room, the
    // right side does.
    const ScreenArea leftPanel{QRect(0, 0, 1280, 800), QRect(40, 0, 1240, 800)};
    const QRect sideIcon(8, 390, 22, 22);
    const auto beside = panelFrame(QSize(400, 700), sideIcon, {leftPanel});
    expectBesideAndInside(beside, sideIcon, leftPanel);
    EXPECT_EQ(beside->size(), QSize(400, 700));
    EXPECT_GT(beside->left(), sideIcon.right());
}

TEST(PanelPlacement, ItOpensOnTheScreenOfItsIconOrTheNearestAndNeedsAScreen) {
    const ScreenArea left = screenWithPanel(0, true);
    const ScreenArea right = screenWithPanel(1280, false);
    const QRect iconOnRight(2500, 774, 22, 22);
    expectBesideAndInside(panelFrame(panel, iconOnRight, {left, right}), iconOnRight, right);
    // A pointer just off every screen (a tray without a place) counts for the nearest.
    const QRect offScreen(-50, 300, 1, 1);
    expectBesideAndInside(panelFrame(panel, offScreen, {right, left}), offScreen, left);
    EXPECT_FALSE(panelFrame(panel, iconOnRight, {}).has_value());
}

}  // namespace
