#include "KestrixApp/Desktop/Quitting/SessionBusApps.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QVariantList>
#include <QVariantMap>

namespace kestrix::desktop {
namespace {

// An app busy with something else must not hold up the eject for long.
constexpr int callTimeoutMilliseconds = 2000;

const QString actionsInterface = QStringLiteral("org.gtk.Actions");
const QString quitAction = QStringLiteral("quit");

QDBusMessage methodCall(const GApplicationAddress& address, const QString& interface, const QString& method) {
    return QDBusMessage::createMethodCall(QString::fromStdString(address.busName),
                                          QString::fromStdString(address.objectPath), interface, method);
}

}  // namespace

bool SessionBusApps::isOwnedBy(const GApplicationAddress& address, pid_t pid) const {
    QDBusMessage query =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"),
                                       QStringLiteral("GetConnectionUnixProcessID"));
    query << QString::fromStdString(address.busName);
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

bool SessionBusApps::quit(const GApplicationAddress& address, pid_t pid) const {
    if (!bus_.isConnected() || !isOwnedBy(address, pid) || !hasEnabledQuitAction(address)) return false;
    QDBusMessage activate = methodCall(address, actionsInterface, QStringLiteral("Activate"));
    activate << quitAction << QVariantList() << QVariantMap();
    const QDBusMessage reply = bus_.call(activate, QDBus::Block, callTimeoutMilliseconds);
    // An app that asks about unsaved work before answering has still been asked.
    return reply.type() == QDBusMessage::ReplyMessage ||
           reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.NoReply");
}

bool SessionBusApps::activate(const GApplicationAddress& address, pid_t pid) const {
    if (!bus_.isConnected() || !isOwnedBy(address, pid)) return false;
    QDBusMessage activate =
        methodCall(address, QStringLiteral("org.freedesktop.Application"), QStringLiteral("Activate"));
    activate << QVariantMap();
    return bus_.call(activate, QDBus::Block, callTimeoutMilliseconds).type() == QDBusMessage::ReplyMessage;
}

}  // namespace kestrix::desktop
