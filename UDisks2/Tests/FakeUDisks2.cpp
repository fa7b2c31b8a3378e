#include "UDisks2/Tests/FakeUDisks2.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>

namespace kestrix::test {
namespace {

using ManagedObjects = QMap<QDBusObjectPath, FakeUDisks2::Interfaces>;

const QString root = QStringLiteral("/org/freedesktop/UDisks2");
const QString service = QStringLiteral("org.freedesktop.UDisks2");

QByteArray byteString(const QString& text) { return text.toUtf8().append('\0'); }

QString describe(const QVariantMap& options) {
    QStringList entries;
    for (auto option = options.begin(); option != options.end(); ++option) {
        entries << option.key() + QStringLiteral("=") + option.value().toString();
    }
    return QStringLiteral("{") + entries.join(QStringLiteral(",")) + QStringLiteral("}");
}

}  // namespace

FakeUDisks2::~FakeUDisks2() {
    if (!connection_) return;
    connection_->unregisterService(service);
    connection_->unregisterObject(root, QDBusConnection::UnregisterTree);
}

bool FakeUDisks2::serveOn(QDBusConnection connection) {
    qDBusRegisterMetaType<QVariantMap>();
    qDBusRegisterMetaType<Interfaces>();
    qDBusRegisterMetaType<ManagedObjects>();
    qDBusRegisterMetaType<QList<QByteArray>>();
    connection_ = connection;
    return connection.registerVirtualObject(root, this, QDBusConnection::SubPath) && connection.registerService(service);
}

void FakeUDisks2::addObject(const QString& path, const Interfaces& interfaces) {
    const std::lock_guard lock(mutex_);
    objects_.insert(QDBusObjectPath(path), interfaces);
}

void FakeUDisks2::refuse(const QString& path, const QString& method, UDisks2Error error) {
    const std::lock_guard lock(mutex_);
    refusals_[{path, method}] = std::move(error);
}

void FakeUDisks2::allow(const QString& path, const QString& method) {
    const std::lock_guard lock(mutex_);
    refusals_.erase({path, method});
}

std::vector<std::string> FakeUDisks2::calls() const {
    const std::lock_guard lock(mutex_);
    return calls_;
}

QString FakeUDisks2::introspect(const QString&) const { return {}; }

bool FakeUDisks2::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    const std::lock_guard lock(mutex_);
    if (message.member() == QLatin1String("GetManagedObjects")) {
        return connection.send(message.createReply(QVariant::fromValue(objects_)));
    }
    const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().value(0));
    calls_.push_back((message.member() + QStringLiteral(" ") + message.path() + QStringLiteral(" ") + describe(options))
                         .toStdString());
    const auto refusal = refusals_.find({message.path(), message.member()});
    if (refusal == refusals_.end()) return connection.send(message.createReply());
    return connection.send(message.createErrorReply(QString::fromStdString(refusal->second.name),
                                                    QString::fromStdString(refusal->second.message)));
}

QVariantMap blockProperties(const QString& device, const QString& drive, const QString& cryptoBackingDevice) {
    return {{QStringLiteral("Device"), byteString(device)},
            {QStringLiteral("PreferredDevice"), byteString(device)},
            {QStringLiteral("Symlinks"), QVariant::fromValue(QList<QByteArray>{})},
            {QStringLiteral("DeviceNumber"), QVariant::fromValue(qulonglong(0))},
            {QStringLiteral("Drive"), QVariant::fromValue(QDBusObjectPath(drive))},
            {QStringLiteral("CryptoBackingDevice"), QVariant::fromValue(QDBusObjectPath(cryptoBackingDevice))}};
}

QVariantMap partitionProperties(const QString& table) {
    return {{QStringLiteral("Table"), QVariant::fromValue(QDBusObjectPath(table))}};
}

QVariantMap fileSystemProperties(const QStringList& mountPoints) {
    QList<QByteArray> points;
    for (const QString& mountPoint : mountPoints) points << byteString(mountPoint);
    return {{QStringLiteral("MountPoints"), QVariant::fromValue(points)}};
}

QVariantMap driveProperties(bool canPowerOff, bool ejectable) {
    return {{QStringLiteral("CanPowerOff"), canPowerOff}, {QStringLiteral("Ejectable"), ejectable}};
}

}  // namespace kestrix::test
