#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

namespace kestrix::views {

// What the desktop draws around a window's content before its window manager says: a title
// bar above and borders on the other sides, as large as common desktops draw them (client-side
// decorations on Wayland are the tallest).
inline constexpr QMargins assumedWindowFrame{4, 38, 4, 6};

// The smallest screen every window fits, with a panel of the desktop along one edge.
inline constexpr QRect smallestWorkArea{0, 0, 1024, 568};

// The content size a window takes on a screen whose free area is `available`: the size it wants,
// made smaller where it and its frame would not fit, and never smaller than nothing.
QSize fittedWindowSize(QSize wanted, QRect available, QMargins frame = assumedWindowFrame);

// Where the window goes, frame included (as a window's position is), so that it is centred in
// the free area.
QPoint centredWindowPosition(QSize content, QRect available, QMargins frame = assumedWindowFrame);

}  // namespace kestrix::views
