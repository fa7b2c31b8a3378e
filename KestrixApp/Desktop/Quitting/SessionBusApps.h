#pragma once

#include <sys/types.h>

#include <QDBusConnection>

#include "KestrixApp/Desktop/Quitting/GApplicationAddress.h"

namespace kestrix::desktop {

// Apps that export their actions on the session bus, as GApplications do. An address is used
// only when the process in question owns it, so that another instance is never asked instead.
// QDBusConnection may be called from any thread.
class SessionBusApps {
public:
    explicit SessionBusApps(QDBusConnection bus) : bus_(std::move(bus)) {}

    // Runs the app's enabled "quit" action, the same as choosing Quit in it. True when the
    // request reached the app.
    bool quit(const GApplicationAddress& address, pid_t pid) const;
    // Brings the app forward (org.freedesktop.Application.Activate); true when it answered.
    bool activate(const GApplicationAddress& address, pid_t pid) const;

private:
    bool isOwnedBy(const GApplicationAddress& address, pid_t pid) const;
    bool hasEnabledQuitAction(const GApplicationAddress& address) const;

    QDBusConnection bus_;
};

}  // namespace kestrix::desktop
