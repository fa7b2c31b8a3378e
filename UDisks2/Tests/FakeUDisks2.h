#pragma once

#include <map>
#include <optional>
#include <mutex>
#include <string>
#include <vector>

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QMap>
#include <QVariantMap>

#include "UDisks2/UDisks2Objects.h"

namespace kestrix::test {

// The disk service's objects and refusals, played by this process on a private bus: it lists the
// objects it was given, records every other call and answers it with success or the refusal set
// for that object and method.
class FakeUDisks2 : public QDBusVirtualObject {
public:
    using Interfaces = QMap<QString, QVariantMap>;

    FakeUDisks2() = default;
    FakeUDisks2(const FakeUDisks2&) = delete;
    FakeUDisks2& operator=(const FakeUDisks2&) = delete;
    ~FakeUDisks2() override;

    // Registers the service on the connection until the fake goes; whether the bus took it.
    bool serveOn(QDBusConnection connection);

    void addObject(const QString& path, const Interfaces& interfaces);
    void refuse(const QString& path, const QString& method, UDisks2Error error);
    // Answers that call with success again.
    void allow(const QString& path, const QString& method);
    // "Method path {option=value}" for every call but the listing, in order.
    std::vector<std::string> calls() const;

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    std::optional<QDBusConnection> connection_;
    mutable std::mutex mutex_;
    QMap<QDBusObjectPath, Interfaces> objects_;
    std::map<std::pair<QString, QString>, UDisks2Error> refusals_;
    std::vector<std::string> calls_;
};

// Interfaces of the objects a test serves.
QVariantMap blockProperties(const QString& device, const QString& drive = QStringLiteral("/"),
                            const QString& cryptoBackingDevice = QStringLiteral("/"));
QVariantMap partitionProperties(const QString& table);
QVariantMap fileSystemProperties(const QStringList& mountPoints);
QVariantMap driveProperties(bool canPowerOff, bool ejectable);

}  // namespace kestrix::test
