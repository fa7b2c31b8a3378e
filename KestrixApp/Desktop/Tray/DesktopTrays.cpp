#include "KestrixApp/Desktop/Tray/DesktopTrays.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <algorithm>

#include "KestrixApp/Desktop/Tray/StatusNotifierHosts.h"
#include "KestrixApp/Desktop/Tray/X11TraySelection.h"

namespace kestrix::desktop {

AnyTray::AnyTray(std::vector<TrayPresence*> trays, QObject* parent) : TrayPresence(parent), trays_(std::move(trays)) {
    for (TrayPresence* tray : trays_) {
        tray->setParent(this);
        connect(tray, &TrayPresence::presenceChanged, this, &AnyTray::follow);
    }
    present_ = std::any_of(trays_.begin(), trays_.end(), [](const TrayPresence* tray) { return tray->isPresent(); });
}

void AnyTray::follow() {
    const bool present =
        std::any_of(trays_.begin(), trays_.end(), [](const TrayPresence* tray) { return tray->isPresent(); });
    if (present == present_) return;
    present_ = present;
    emit presenceChanged(present_);
}

TrayPresence* makeDesktopTrays(QObject* parent) {
    std::vector<TrayPresence*> trays{new StatusNotifierHosts(QDBusConnection::sessionBus())};
    if (QGuiApplication::platformName() == "xcb") {
        auto* selection = new X11TraySelection();
        if (selection->isAvailable()) trays.push_back(selection);
        else delete selection;
    }
    return new AnyTray(std::move(trays), parent);
}

}  // namespace kestrix::desktop
