#include "KestrixApp/Views/Style/WindowFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace kestrix::views {

QRect freeWindowArea(QRect available, QRect whole, bool barsUnknown) {
    if (!barsUnknown || available != whole) return available;
    return available.adjusted(0, 0, 0, -std::min(assumedDesktopBarHeight, available.height()));
}

bool compositorPlacesWindows() { return QGuiApplication::platformName().startsWith("wayland"); }

QRect freeWindowArea(const QScreen& screen) {
    return freeWindowArea(screen.availableGeometry(), screen.geometry(), compositorPlacesWindows());
}

QSize fittedWindowSize(QSize wanted, QRect available, QMargins frame) {
    const int width = available.width() - frame.left() - frame.right();
    const int height = available.height() - frame.top() - frame.bottom();
    return {std::clamp(wanted.width(), 0, std::max(0, width)), std::clamp(wanted.height(), 0, std::max(0, height))};
}

QPoint centredWindowPosition(QSize content, QRect available, QMargins frame) {
    const QSize whole = content.grownBy(frame);
    // A window larger than the free area keeps its title bar on screen.
    return {available.x() + std::max(0, (available.width() - whole.width()) / 2),
            available.y() + std::max(0, (available.height() - whole.height()) / 2)};
}

}  // namespace kestrix::views
