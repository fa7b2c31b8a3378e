#include "KestrixApp/Desktop/Quitting/SessionBusApps.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

namespace kestrix::desktop {
namespace {

// An app busy with something else must not hold up the eject for long.
constexpr int callTimeoutMilliseconds = 2000;

const QString actionsInterface = QStringLiteral("org.gtk.Actions");
const QString quitAction = QStringLiteral("quit");
const QString kdeNamePrefix = QStringLiteral("org.kde.");
const QString kdeApplicationPath = QStringLiteral("/MainApplication");

QDBusMessage methodCall(const GApplicationAddress& address, const QString& interface, const QString& method) {
    return QDBusMessage::createMethodCall(QString::fromStdString(address.busName),
                                          QString::fromStdString(address.objectPath), interface, method);
}

QDBusMessage busDaemonCall(const QString& method) {
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                          QStringLiteral("org.freedesktop.DBus"), method);
}

// An app that asks about unsaved work before answering has still been asked.
bool reached(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage ||
           reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.NoReply");
}

}  // namespace

std::optional<BusQuitRoute> SessionBusApps::quitRoute(pid_t pid) const {
    if (!bus_.isConnected() || pid <= 0) return std::nullopt;
    const QDBusMessage reply = bus_.call(busDaemonCall(QStringLiteral("ListNames")), QDBus::Block, callTimeoutMilliseconds);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) return std::nullopt;
    for (const QString& name : reply.arguments().constFirst().toStringList()) {
        // Unique names (":1.42") are no app's address.
        if (name.startsWith(QLatin1Char(':')) || !isOwnedBy(name, pid)) continue;
        if (std::optional<BusQuitRoute> route = routeOf(name)) return route;
    }
    return std::nullopt;
}

std::optional<BusQuitRoute> SessionBusApps::routeOf(const QString& busName) const {
    if (busName.startsWith(kdeNamePrefix)) {
        const GApplicationAddress address{.busName = busName.toStdString(), .objectPath = kdeApplicationPath.toStdString()};
        if (hasQuitMethod(address)) return BusQuitRoute{.kind = BusQuitRoute::Kind::kdeMainApplication, .address = address};
    }
    const std::optional<GApplicationAddress> address = gApplicationAddress(busName.toStdString());
    if (address && hasEnabledQuitAction(*address)) {
        return BusQuitRoute{.kind = BusQuitRoute::Kind::gtkActions, .address = *address};
    }
    return std::nullopt;
}

bool SessionBusApps::isOwnedBy(const QString& busName, pid_t pid) const {
    QDBusMessage query = busDaemonCall(QStringLiteral("GetConnectionUnixProcessID"));
    query << busName;
    const QDBusMessage reply = bus_.call(query, QDBus::Block, callTimeoutMilliseconds);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) return false;
    bool isNumber = false;
    const uint owner = reply.arguments().constFirst().toUInt(&isNumber);
    return isNumber && pid > 0 && owner == static_cast<uint>(pid);
}

bool SessionBusApps::hasEnabledQuitAction(const GApplicationAddress& address) const {
    QDBusMessage describe = methodCall(address, actionsInterface, QStringLiteral("Describe"));
    describe << quitAction;
    const QDBusMessage reply = bus_.call(describe, QDBus::Block, callTimeoutMilliseconds);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != QStringLiteral("(bgav)")) return false;
    // (enabled, parameter type, state); a disabled Quit would do nothing.
    const QDBusArgument description = reply.arguments().constFirst().value<QDBusArgument>();
    bool enabled = false;
    description.beginStructure();
    description >> enabled;
    description.endStructure();
    return enabled;
}

bool SessionBusApps::hasQuitMethod(const GApplicationAddress& address) const {
    const QDBusMessage reply =
        bus_.call(methodCall(address, QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect")),
                  QDBus::Block, callTimeoutMilliseconds);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) return false;
    return reply.arguments().constFirst().toString().contains(QStringLiteral("<method name=\"quit\""));
}

bool SessionBusApps::quit(const BusQuitRoute& route, pid_t pid) const {
    if (!bus_.isConnected() || !isOwnedBy(QString::fromStdString(route.address.busName), pid)) return false;
    if (route.kind == BusQuitRoute::Kind::kdeMainApplication) {
        // The application object's own quit(), as its File ▸ Quit calls.
        return reached(bus_.call(methodCall(route.address, QString(), quitAction), QDBus::Block, callTimeoutMilliseconds));
    }
    QDBusMessage activate = methodCall(route.address, actionsInterface, QStringLiteral("Activate"));
    activate << quitAction << QVariantList() << QVariantMap();
    return reached(bus_.call(activate, QDBus::Block, callTimeoutMilliseconds));
}

}  // namespace kestrix::desktop
