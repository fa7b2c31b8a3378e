#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QScreen;

namespace kestrix::views {

// What the desktop draws around a window's content before its window manager says: a title
// bar above and borders on the other sides, as large as common desktops draw them (client-side
// decorations on Wayland are the tallest).
inline constexpr QMargins assumedWindowFrame{4, 38, 4, 6};

// The smallest screen every window fits, with a panel of the desktop along one edge.
inline constexpr QRect smallestWorkArea{0, 0, 1024, 568};

// How high a desktop's panel or bar is, where the app can only assume one.
inline constexpr int assumedDesktopBarHeight = 32;

// The part of a screen the app's windows may take, from what the windowing system says: on Wayland
// no compositor tells an app where its bars are, and the whole screen comes back as free, so room
// for one bar is kept.
QRect freeWindowArea(QRect available, QRect whole, bool barsUnknown);

// Whether the compositor places every window and tells no app where anything is (Wayland): a
// window can't be put beside the tray icon.
bool compositorPlacesWindows();

// The screen's area for windows, as freeWindowArea says for this session.
QRect freeWindowArea(const QScreen& screen);

// The content size a window takes on a screen whose free area is `available`: the size it wants,
// made smaller where it and its frame would not fit, and never smaller than nothing.
QSize fittedWindowSize(QSize wanted, QRect available, QMargins frame = assumedWindowFrame);

// Where the window goes, frame included (as a window's position is), so that it is centred in
// the free area.
QPoint centredWindowPosition(QSize content, QRect available, QMargins frame = assumedWindowFrame);

}  // namespace kestrix::views
