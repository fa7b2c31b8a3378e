#pragma once

#include <QString>
#include <cstdint>

#include "KestrixApp/Desktop/Tray/TrayPresence.h"

struct xcb_connection_t;
class QSocketNotifier;

namespace kestrix::desktop {

// An XEmbed tray on an X server: the owner of the _NET_SYSTEM_TRAY_S<screen> selection. A tray
// that takes the selection announces it to the root window (MANAGER); one that ends destroys its
// window. A connection of its own keeps this apart from the toolkit's.
class X11TraySelection : public TrayPresence {
    Q_OBJECT
public:
    // display: the X display to use, such as ":0"; empty for $DISPLAY.
    explicit X11TraySelection(const QString& display = {}, QObject* parent = nullptr);
    ~X11TraySelection() override;

    // False when no X server could be reached.
    bool isAvailable() const { return connection_ != nullptr; }
    bool isPresent() const override { return owner_ != 0; }

private:
    void readEvents();
    void followOwner();
    void disconnectFromServer();

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    std::uint32_t selection_ = 0;
    std::uint32_t manager_ = 0;
    std::uint32_t owner_ = 0;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kestrix::desktop
