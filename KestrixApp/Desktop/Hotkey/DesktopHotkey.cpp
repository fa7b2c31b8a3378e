#include "KestrixApp/Desktop/Hotkey/DesktopHotkey.h"

#include "KestrixApp/Desktop/Hotkey/PortalGlobalShortcut.h"
#include "KestrixApp/Desktop/Hotkey/X11KeyGrab.h"

namespace kestrix::desktop {

GlobalHotkey* makeDesktopHotkey(QObject* parent) {
    // Under Wayland an X11 grab only sees keys typed into X11 windows: it is no global hotkey.
    const bool wayland =
        qEnvironmentVariable("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (wayland) return PortalGlobalShortcut::isAvailable() ? new PortalGlobalShortcut(QDBusConnection::sessionBus(), parent) : nullptr;
    auto* grab = new X11KeyGrab({}, parent);
    if (grab->isAvailable()) return grab;
    delete grab;
    return nullptr;
}

}  // namespace kestrix::desktop
