#include "KestrixApp/Shell/ActionClient.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include "KestrixApp/Shell/AutomationService.h"
#include "KestrixApp/Shell/NoDriveText.h"

namespace kestrix::shell {

namespace {

constexpr int waitAttempts = 40;
constexpr double waitSeconds = 0.1;
// An eject can wait for apps to quit and for the user to type a password.
constexpr int callTimeoutMilliseconds = 10 * 60 * 1000;

bool waitForApp(QDBusConnection& bus, const std::function<void(double)>& sleep) {
    if (!bus.isConnected()) return false;
    auto* names = bus.interface();
    // Ask the bus to start the app where it can; the answer is not awaited, the name is.
    bus.asyncCall(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                 "org.freedesktop.DBus", "StartServiceByName")
                  << QString(AutomationService::serviceName) << 0u);
    for (int attempts = 0; attempts < waitAttempts; ++attempts) {
        if (names->isServiceRegistered(AutomationService::serviceName)) return true;
        sleep(waitSeconds);
    }
    return false;
}

}  // namespace

int runAction(const ShellAction& action, QDBusConnection bus, std::ostream& out, std::ostream& err,
              const std::function<void(double seconds)>& sleep) {
    if (!waitForApp(bus, sleep)) {
        err << notRunningText() << '\n';
        return 1;
    }
    auto call = QDBusMessage::createMethodCall(AutomationService::serviceName, AutomationService::objectPath,
                                               AutomationService::interfaceName,
                                               action.kind == ShellAction::Kind::eject ? "EjectDrive" : "EjectAllDrives");
    if (action.kind == ShellAction::Kind::eject) call << QString::fromStdString(action.driveName);
    const QDBusMessage reply = bus.call(call, QDBus::Block, callTimeoutMilliseconds);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        err << reply.errorMessage().toStdString() << '\n';
        return 1;
    }
    out << reply.arguments().value(0).toString().toStdString() << '\n';
    return 0;
}

}  // namespace kestrix::shell
