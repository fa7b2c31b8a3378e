#pragma once

#include <QDBusConnection>

#include "KestrixApp/Desktop/Tray/TrayPresence.h"

class QDBusPendingCallWatcher;

namespace kestrix::desktop {

// A StatusNotifierItem tray (KDE Plasma, swaybar, GNOME's AppIndicator extension, waybar): a
// host registered with the session's StatusNotifierWatcher.
class StatusNotifierHosts : public TrayPresence {
    Q_OBJECT
public:
    explicit StatusNotifierHosts(const QDBusConnection& bus, QObject* parent = nullptr);

    bool isPresent() const override { return present_; }

    static constexpr const char* watcherService = "org.kde.StatusNotifierWatcher";

private slots:
    // Reads the watcher's IsStatusNotifierHostRegistered again.
    void askWatcher();

private:
    void setPresent(bool present);

    QDBusConnection bus_;
    bool present_ = false;
};

}  // namespace kestrix::desktop
