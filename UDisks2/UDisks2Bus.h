#pragma once

#include <optional>
#include <string>
#include <variant>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantMap>

#include "UDisks2/UDisks2Authorization.h"
#include "UDisks2/UDisks2Objects.h"

namespace kestrix {

// Blocking calls to the disk service over one shared connection (Qt's connections are
// thread-safe). They may be made from any thread and need no event loop there: Qt's own D-Bus
// thread receives the replies and wakes the waiting caller. Requests wait
// long, because the service may first have polkit ask for a password and may flush a slow disk.
class UDisks2Bus {
public:
    explicit UDisks2Bus(QDBusConnection connection, UDisks2Authorization authorization = {})
        : connection_(std::move(connection)), authorization_(std::move(authorization)) {}

    // Every object the service manages.
    std::variant<UDisks2Objects, UDisks2Error> managedObjects() const;

    // Calls a method that takes one options dictionary; nothing when it succeeded. The user may
    // be asked to authenticate, as the authorization allows.
    std::optional<UDisks2Error> call(const std::string& path, const QString& interface, const QString& method,
                                     const QVariantMap& options = {}) const;

private:
    QDBusMessage request(const std::string& path, const QString& interface, const QString& method,
                         const QVariantMap& options) const;

    QDBusConnection connection_;
    UDisks2Authorization authorization_;
};

// Whether the disk service runs on the bus or the bus can start it.
bool isUDisks2Available(const QDBusConnection& bus = QDBusConnection::systemBus());

}  // namespace kestrix
