#include "KestrixApp/Shell/ActionClient.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include "KestrixApp/Shell/AutomationService.h"
#include "KestrixApp/Shell/NoDriveText.h"
#include "TextSupport/VisibleText.h"

namespace kestrix::shell {

namespace {

constexpr int waitAttempts = 40;
constexpr double waitSeconds = 0.1;
// An eject can wait for apps to quit and for the user to type a password.
constexpr int callTimeoutMilliseconds = 10 * 60 * 1000;

bool waitForApp(QDBusConnection& bus, const std::function<void(double)>& sleep) {
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

bool noOneAnswers(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ErrorMessage &&
           (reply.errorName() == "org.freedesktop.DBus.Error.ServiceUnknown" ||
            reply.errorName() == "org.freedesktop.DBus.Error.NameHasNoOwner");
}

std::string shown(const QVariant& text) { return textsupport::visibleText(text.toString().toStdString()); }

}  // namespace

ActionStatus runAction(const ShellAction& action, QDBusConnection bus, std::ostream& out, std::ostream& err,
                       const std::function<void(double seconds)>& sleep) {
    if (!bus.isConnected()) {
        err << notRunningText() << '\n';
        return ActionStatus::notDone;
    }
    const bool one = action.kind == ShellAction::Kind::eject;
    auto call = QDBusMessage::createMethodCall(AutomationService::serviceName, AutomationService::objectPath,
                                               AutomationService::interfaceName,
                                               one ? "EjectDriveWithOutcome" : "EjectAllDrivesWithOutcome");
    if (one) call << QString::fromStdString(action.driveName);
    // The running app answers at once; only where none does is the app waited for.
    QDBusMessage reply = bus.call(call, QDBus::Block, callTimeoutMilliseconds);
    if (noOneAnswers(reply)) {
        if (!waitForApp(bus, sleep)) {
            err << notRunningText() << '\n';
            return ActionStatus::notDone;
        }
        reply = bus.call(call, QDBus::Block, callTimeoutMilliseconds);
    }
    if (reply.type() == QDBusMessage::ErrorMessage) {
        err << textsupport::visibleText(reply.errorMessage().toStdString()) << '\n';
        return ActionStatus::notDone;
    }
    const QVariantList answer = reply.arguments();
    out << shown(answer.value(0)) << '\n';
    if (one) return answer.value(1).toBool() ? ActionStatus::ejected : ActionStatus::refused;
    return ejectStatus(answer.value(1).toUInt(), answer.value(2).toUInt());
}

}  // namespace kestrix::shell
