#include "KestrixApp/Shell/PanelPlacement.h"

#include <algorithm>

namespace kestrix::shell {
namespace {

// Between the anchor and the panel.
constexpr int gap = 4;

int distance(const QRect& area, QPoint point) {
    const int dx = std::max({area.left() - point.x(), 0, point.x() - area.right()});
    const int dy = std::max({area.top() - point.y(), 0, point.y() - area.bottom()});
    return dx + dy;
}

// The anchor's screen: the one holding its centre, else the nearest.
const ScreenArea& screenOf(QRect anchor, const std::vector<ScreenArea>& screens) {
    const QPoint centre = anchor.center();
    return *std::min_element(screens.begin(), screens.end(), [&](const ScreenArea& one, const ScreenArea& other) {
        return distance(one.geometry, centre) < distance(other.geometry, centre);
    });
}

int clampedStart(int wanted, int length, int areaStart, int areaEnd) {
    return std::max(areaStart, std::min(wanted, areaEnd - length));
}

struct Side {
    int room;  // how high (below, above) or wide (right, left) the panel may be on this side
    QRect frame;
};

}  // namespace

std::optional<QRect> panelFrame(QSize panel, QRect anchor, const std::vector<ScreenArea>& screens) {
    if (screens.empty()) return std::nullopt;
    if (!anchor.isValid()) anchor = QRect(anchor.topLeft(), QSize(1, 1));
    const ScreenArea& screen = screenOf(anchor, screens);
    const QRect area = screen.available;
    // Exclusive ends, so that sizes add up.
    const int areaRight = area.x() + area.width();
    const int areaBottom = area.y() + area.height();
    const int width = std::min(panel.width(), area.width());
    const int height = std::min(panel.height(), area.height());

    const int centredX = clampedStart(anchor.center().x() - width / 2, width, area.x(), areaRight);
    const int belowTop = std::max(anchor.y() + anchor.height() + gap, area.y());
    const int aboveEnd = std::min(anchor.y() - gap, areaBottom);
    const Side below{areaBottom - belowTop, QRect(centredX, belowTop, width, std::min(height, areaBottom - belowTop))};
    const int aboveHeight = std::min(height, aboveEnd - area.y());
    const Side above{aboveEnd - area.y(), QRect(centredX, aboveEnd - aboveHeight, width, aboveHeight)};

    const int besideY = clampedStart(anchor.y(), height, area.y(), areaBottom);
    const int rightStart = std::max(anchor.x() + anchor.width() + gap, area.x());
    const int leftEnd = std::min(anchor.x() - gap, areaRight);
    const Side right{areaRight - rightStart, QRect(rightStart, besideY, width, height)};
    const Side left{leftEnd - area.x(), QRect(leftEnd - width, besideY, width, height)};

    const bool upperHalf = anchor.center().y() < area.y() + area.height() / 2;
    const bool leftHalf = anchor.center().x() < area.x() + area.width() / 2;
    const Side& nearVertical = upperHalf ? below : above;
    const Side& farVertical = upperHalf ? above : below;
    const Side& nearHorizontal = leftHalf ? right : left;
    const Side& farHorizontal = leftHalf ? left : right;

    // A tray along the top or bottom edge drops the panel above or below the icon; one down
    // the left or right edge puts it beside.
    const QPoint centre = anchor.center();
    const QRect& whole = screen.geometry;
    const int toTopOrBottom = std::min(centre.y() - whole.top(), whole.bottom() - centre.y());
    const int toLeftOrRight = std::min(centre.x() - whole.left(), whole.right() - centre.x());
    if (toTopOrBottom > toLeftOrRight) {
        if (nearHorizontal.room >= width) return nearHorizontal.frame;
        if (farHorizontal.room >= width) return farHorizontal.frame;
    }
    if (nearVertical.room >= panel.height()) return nearVertical.frame;
    if (farVertical.room >= panel.height()) return farVertical.frame;
    // It fits whole on neither side: the roomier one, the panel cut to it.
    const Side& roomier = farVertical.room > nearVertical.room ? farVertical : nearVertical;
    if (roomier.room > 0) return roomier.frame;
    return QRect(centredX, area.y(), width, height);
}

}  // namespace kestrix::shell
