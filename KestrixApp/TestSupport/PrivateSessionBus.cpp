#include "KestrixApp/TestSupport/PrivateSessionBus.h"

#include <unistd.h>

#include <QDBusConnectionInterface>
#include <filesystem>

#include "KestrixApp/TestSupport/Waiting.h"

namespace kestrix::desktop::test {

PrivateSessionBus::PrivateSessionBus() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrix-bus-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        problem_ = "no temporary folder for the bus";
        return;
    }
    folder_ = pattern;
    daemon_ = std::make_unique<ServerProcess>(std::vector<std::string>{
        "dbus-daemon", "--session", "--nofork", "--address=unix:path=" + folder_ + "/bus", "--print-address=1"});
    if (!daemon_->firstLine()) {
        problem_ = "dbus-daemon did not start";
        return;
    }
    address_ = *daemon_->firstLine();
    connectionName_ = QStringLiteral("kestrix-test-bus-") + QString::fromStdString(folder_);
    if (!connection().isConnected()) problem_ = "cannot connect to the private bus at " + address_;
}

PrivateSessionBus::~PrivateSessionBus() {
    if (!connectionName_.isEmpty()) QDBusConnection::disconnectFromBus(connectionName_);
    daemon_.reset();
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
}

QDBusConnection PrivateSessionBus::connection() const {
    return QDBusConnection::connectToBus(QString::fromStdString(address_), connectionName_);
}

bool PrivateSessionBus::waitForOwner(const QString& name) const {
    const QDBusConnection bus = connection();
    return waitUntil(5.0, [&] { return bus.interface()->isServiceRegistered(name).value(); });
}

}  // namespace kestrix::desktop::test
