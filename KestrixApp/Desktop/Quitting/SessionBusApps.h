#pragma once

#include <sys/types.h>

#include <optional>

#include <QDBusConnection>

#include "KestrixApp/Desktop/Quitting/GApplicationAddress.h"

namespace kestrix::desktop {

// How an app takes a quit request on the session bus: a GApplication runs its "quit" action
// (org.gtk.Actions), a KDE app quits through its /MainApplication object.
struct BusQuitRoute {
    enum class Kind { gtkActions, kdeMainApplication };
    Kind kind = Kind::gtkActions;
    GApplicationAddress address;

    bool operator==(const BusQuitRoute&) const = default;
};

// Apps that take quit requests on the session bus, found by the names their process owns, so
// that another instance is never asked instead. QDBusConnection may be called from any thread.
class SessionBusApps {
public:
    explicit SessionBusApps(QDBusConnection bus) : bus_(std::move(bus)) {}

    // The first working route among the bus names the process owns; absent where it owns none.
    std::optional<BusQuitRoute> quitRoute(pid_t pid) const;
    // The same as choosing Quit in the app. True when the request reached the app.
    bool quit(const BusQuitRoute& route, pid_t pid) const;

private:
    std::optional<BusQuitRoute> routeOf(const QString& busName) const;
    bool isOwnedBy(const QString& busName, pid_t pid) const;
    bool hasEnabledQuitAction(const GApplicationAddress& address) const;
    bool hasQuitMethod(const GApplicationAddress& address) const;

    QDBusConnection bus_;
};

}  // namespace kestrix::desktop
