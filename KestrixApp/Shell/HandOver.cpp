#include "KestrixApp/Shell/HandOver.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>
#include <unistd.h>

#include "KestrixApp/Shell/ActionClient.h"
#include "KestrixApp/Shell/AutomationService.h"
#include "KestrixKit/Automation/URLCommand.h"
#include "KestrixKit/Text/Localized.h"
#include "TextSupport/VisibleText.h"

namespace kestrix::shell {

namespace {

// The bus answers for an app that is gone at once; a running app answers as soon as its event
// loop turns. Longer than this, the app is busy and the message waits in its queue.
constexpr int handOverMilliseconds = 1000;

// The eject a link asks for, run as an action; nothing for the other links.
std::optional<ShellAction> actionOf(const std::string& link) {
    const auto command = URLCommand::parse(link);
    if (!command) return std::nullopt;
    if (std::holds_alternative<URLCommand::EjectAll>(command->command)) return ShellAction{};
    if (const auto* eject = std::get_if<URLCommand::Eject>(&command->command))
        return ShellAction{.kind = ShellAction::Kind::eject, .driveName = eject->drive};
    return std::nullopt;
}

ActionStatus deliver(QDBusConnection& bus, const char* interface, const char* method, const QVariantList& arguments,
                     std::ostream& err) {
    auto message =
        QDBusMessage::createMethodCall(AutomationService::serviceName, AutomationService::objectPath, interface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = bus.call(message, QDBus::Block, handOverMilliseconds);
    // No answer yet is not a failure: the message is in the app's queue.
    if (reply.type() != QDBusMessage::ErrorMessage || reply.errorName() == "org.freedesktop.DBus.Error.NoReply")
        return ActionStatus::ejected;
    err << localizedFormat("The running Kestrix didn’t take the request (%1).",
                           {textsupport::visibleText(reply.errorMessage().toStdString())})
        << '\n';
    return ActionStatus::notDone;
}

void realSleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

}  // namespace

std::optional<ActionStatus> talkToRunningApp(const ShellOptions& options) {
    constexpr const char* connectionName = "kestrix-client";
    std::optional<ActionStatus> status;
    {
        const auto bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
        if (options.action) status = runAction(*options.action, bus, std::cout, std::cerr, realSleep);
        else status = handOver(options, bus, isatty(STDOUT_FILENO) == 1, std::cout, std::cerr, realSleep);
    }
    // A start that is to be the app lets go of the client connection; one that is done ends
    // with it (see exitWith).
    if (!status) QDBusConnection::disconnectFromBus(connectionName);
    return status;
}

void exitWith(ActionStatus status) {
    std::cout.flush();
    std::cerr.flush();
    std::_Exit(static_cast<int>(status));
}

std::optional<ActionStatus> handOver(const ShellOptions& options, QDBusConnection bus, bool fromTerminal,
                                     std::ostream& out, std::ostream& err,
                                     const std::function<void(double seconds)>& sleep) {
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(AutomationService::serviceName)) return std::nullopt;
    if (options.links.empty()) return deliver(bus, "org.freedesktop.Application", "Activate", {QVariantMap{}}, err);
    // The worst status of all the links: a refusal outweighs a missing drive.
    ActionStatus status = ActionStatus::ejected;
    const auto keepWorst = [&](ActionStatus next) {
        status = static_cast<ActionStatus>(std::max(static_cast<int>(status), static_cast<int>(next)));
    };
    for (const auto& link : options.links) {
        const auto action = fromTerminal ? actionOf(link) : std::nullopt;
        if (action) keepWorst(runAction(*action, bus, out, err, sleep));
        else keepWorst(deliver(bus, AutomationService::interfaceName, "OpenURL", {QString::fromStdString(link)}, err));
    }
    return status;
}

}  // namespace kestrix::shell
