#pragma once

#include <QObject>

namespace kestrix::desktop {

// Whether the desktop has a tray for the app's icon, followed while trays come and go: a panel
// often starts after the apps that autostart with the session, and may be restarted.
class TrayPresence : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool isPresent() const = 0;

signals:
    void presenceChanged(bool present);
};

}  // namespace kestrix::desktop
