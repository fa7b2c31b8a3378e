#pragma once

#include <vector>

#include "KestrixApp/Desktop/Tray/TrayPresence.h"

namespace kestrix::desktop {

// Any of several kinds of tray: the app's icon has a home while one of them is there.
class AnyTray : public TrayPresence {
    Q_OBJECT
public:
    // Takes the trays as its children.
    explicit AnyTray(std::vector<TrayPresence*> trays, QObject* parent = nullptr);

    bool isPresent() const override { return present_; }

private:
    void follow();

    std::vector<TrayPresence*> trays_;
    bool present_ = false;
};

// The trays this session can have: StatusNotifierItem hosts on the session bus, and XEmbed trays
// where the app draws through X11 (Qt embeds its icon there only on that platform).
TrayPresence* makeDesktopTrays(QObject* parent);

}  // namespace kestrix::desktop
