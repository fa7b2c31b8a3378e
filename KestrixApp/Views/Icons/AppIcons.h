#pragma once

#include <QIcon>

namespace kestrix::views {

// The app's own icon in the tray, in its colours whatever the desktop's theme: the eject
// symbol, marked while drives need the user.
QIcon trayIcon(bool needsAttention);

}  // namespace kestrix::views
