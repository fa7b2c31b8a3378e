#pragma once

#include <QObject>

namespace kestrix::desktop {

// Ctrl+Alt+Super+E for the whole desktop, whichever way this desktop offers it.
class GlobalHotkey : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Takes the key; false when the desktop refused or has no way to give it.
    virtual bool grab() = 0;
    virtual void release() = 0;
    virtual bool isGrabbed() const = 0;

signals:
    void pressed();
};

}  // namespace kestrix::desktop
