#pragma once

#include <QObject>

#include "KestrixApp/Desktop/Hotkey/GlobalHotkey.h"

namespace kestrix::desktop {

// The hotkey this desktop can give: the portal's global shortcut in a Wayland session, a key
// grab on X11; nothing where neither exists (the user then binds a desktop shortcut to
// `kestrix --action eject-all`).
GlobalHotkey* makeDesktopHotkey(QObject* parent);

}  // namespace kestrix::desktop
