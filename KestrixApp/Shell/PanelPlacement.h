#pragma once

#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

namespace kestrix::shell {

// A screen as the panel sees it: all of it, and the part that panels and docks leave free.
struct ScreenArea {
    QRect geometry;
    QRect available;
};

// Where the panel goes, dropping from its anchor (the tray icon, or the pointer where the tray
// gives no place): on the anchor's screen, inside the area left free, and never over the anchor,
// so that a click meant for the icon never lands on the panel. From a tray along the top or
// bottom edge it opens below or above the icon, towards the screen's middle where it fits; from
// one down a side edge, beside the icon. A panel taller than the room gets the room's height.
// Absent without a screen.
std::optional<QRect> panelFrame(QSize panel, QRect anchor, const std::vector<ScreenArea>& screens);

}  // namespace kestrix::shell
