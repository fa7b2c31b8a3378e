#include "UDisks2/UDisks2Bus.h"

#include <chrono>

#include <QDBusArgument>
#include <QDBusMessage>

#include "UDisks2/UDisks2ObjectsReading.h"

namespace kestrix {
namespace {

const QString service = QStringLiteral("org.freedesktop.UDisks2");
const QString passwordWantedError = QStringLiteral("org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain");

// Reading may wait for the bus to start the service.
constexpr std::chrono::milliseconds readTimeout = std::chrono::minutes(1);
// A password dialog stays open as long as the user leaves it, and unmounting or powering off
// first writes out everything still cached for the disk.
constexpr std::chrono::milliseconds requestTimeout = std::chrono::minutes(10);

UDisks2Error errorOf(const QDBusMessage& reply) {
    return {reply.errorName().toStdString(), reply.errorMessage().toStdString()};
}

QDBusMessage callBus(const QDBusConnection& bus, const QString& method, const QString& name) {
    QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                          QStringLiteral("/org/freedesktop/DBus"),
                                                          QStringLiteral("org.freedesktop.DBus"), method);
    if (!name.isEmpty()) message << name;
    return bus.call(message);
}

}  // namespace

std::variant<UDisks2Objects, UDisks2Error> UDisks2Bus::managedObjects() const {
    const QDBusMessage message =
        QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/UDisks2"),
                                       QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                       QStringLiteral("GetManagedObjects"));
    const QDBusMessage reply = connection_.call(message, QDBus::Block, static_cast<int>(readTimeout.count()));
    if (reply.type() == QDBusMessage::ErrorMessage) return errorOf(reply);
    if (reply.arguments().size() != 1 || reply.arguments().front().metaType() != QMetaType::fromType<QDBusArgument>()) {
        return UDisks2Error{"org.freedesktop.DBus.Error.InvalidSignature", "Unexpected answer to GetManagedObjects"};
    }
    return readUDisks2Objects(reply.arguments().front().value<QDBusArgument>());
}

QDBusMessage UDisks2Bus::request(const std::string& path, const QString& interface, const QString& method,
                                 const QVariantMap& options) const {
    QDBusMessage message = QDBusMessage::createMethodCall(service, QString::fromStdString(path), interface, method);
    QVariantMap withAuthorization = options;
    if (!authorization_.mayAsk) withAuthorization.insert(QStringLiteral("auth.no_user_interaction"), true);
    message << withAuthorization;
    message.setInteractiveAuthorizationAllowed(authorization_.mayAsk);
    return connection_.call(message, QDBus::Block, static_cast<int>(requestTimeout.count()));
}

std::optional<UDisks2Error> UDisks2Bus::call(const std::string& path, const QString& interface, const QString& method,
                                             const QVariantMap& options) const {
    QDBusMessage reply = request(path, interface, method, options);
    // A password would do, but no agent could ask for it: once one can, the same call again.
    if (reply.type() == QDBusMessage::ErrorMessage && reply.errorName() == passwordWantedError &&
        authorization_.passwordWanted && authorization_.passwordWanted() && authorization_.mayAsk) {
        reply = request(path, interface, method, options);
    }
    if (reply.type() == QDBusMessage::ErrorMessage) return errorOf(reply);
    return std::nullopt;
}

bool isUDisks2Available(const QDBusConnection& bus) {
    if (!bus.isConnected()) return false;
    const QDBusMessage running = callBus(bus, QStringLiteral("NameHasOwner"), service);
    if (running.type() == QDBusMessage::ReplyMessage && running.arguments().value(0).toBool()) return true;
    const QDBusMessage startable = callBus(bus, QStringLiteral("ListActivatableNames"), {});
    return startable.type() == QDBusMessage::ReplyMessage &&
           startable.arguments().value(0).toStringList().contains(service);
}

}  // namespace kestrix
