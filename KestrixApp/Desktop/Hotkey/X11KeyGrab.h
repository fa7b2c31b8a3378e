#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "KestrixApp/Desktop/Hotkey/GlobalHotkey.h"

struct xcb_connection_t;
struct _XCBKeySymbols;  // xcb_key_symbols_t
class QSocketNotifier;

namespace kestrix::desktop {

// Ctrl+Alt+Super+E, grabbed on the X server's root window: the key works whichever window has
// the focus. A connection of its own keeps it apart from the toolkit's, so it works under any
// Qt platform as long as an X server (or Xwayland) is reachable.
class X11KeyGrab : public GlobalHotkey {
    Q_OBJECT
public:
    // display: the X display to use, such as ":0"; empty for $DISPLAY.
    explicit X11KeyGrab(const QString& display = {}, QObject* parent = nullptr);
    ~X11KeyGrab() override;

    // False when no X server could be reached.
    bool isAvailable() const { return connection_ != nullptr; }
    // Takes the key; false when another client holds it or there is no X server.
    bool grab() override;
    void release() override;
    bool isGrabbed() const override { return grabbed_; }

private:
    struct Modifiers {
        std::uint16_t alt = 0;
        std::uint16_t super = 0;
        std::uint16_t numLock = 0;
    };

    void readEvents();
    bool grabKeys();
    void ungrabKeys();
    Modifiers readModifiers() const;
    std::vector<std::uint16_t> modifierVariants() const;
    std::uint16_t hotkeyModifiers() const;

    xcb_connection_t* connection_ = nullptr;
    _XCBKeySymbols* symbols_ = nullptr;
    std::uint32_t root_ = 0;
    QSocketNotifier* notifier_ = nullptr;
    Modifiers modifiers_;
    std::vector<std::uint8_t> keycodes_;
    bool grabbed_ = false;
};

}  // namespace kestrix::desktop
