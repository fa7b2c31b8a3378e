#include "KestrixApp/Shell/LinkHandler.h"

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Shell/NoDriveText.h"
#include "KestrixKit/Automation/URLCommand.h"

#include <QMetaObject>
#include <algorithm>
#include <utility>

namespace kestrix::shell {

LinkHandler::LinkHandler(AppModel& model, std::function<void(const QString&)> openWindow,
                         std::function<void(const QString&)> toast)
    : model_(model), openWindow_(std::move(openWindow)), toast_(std::move(toast)) {}

void LinkHandler::handle(const std::vector<std::string>& links) {
    if (!model_.live()) return;
    model_.whenListed([this, links] { carryOut(links); });
}

void LinkHandler::carryOut(const std::vector<std::string>& links) {
    for (const auto& link : links) {
        const auto command = URLCommand::parse(link);
        if (!command) continue;
        if (std::holds_alternative<URLCommand::EjectAll>(command->command)) {
            model_.ejectAll(true);
        } else if (const auto* eject = std::get_if<URLCommand::Eject>(&command->command)) {
            model_.ejectDriveNamed(eject->drive, [toast = toast_, name = eject->drive](std::optional<DriveReport> report) {
                // With a report the model has already shown its sentence.
                if (!report && toast) toast(QString::fromStdString(noDriveText(name)));
            });
        } else if (const auto* check = std::get_if<URLCommand::Check>(&command->command)) {
            askToCheck(check->drive);
        } else {
            openWindow_("main");
        }
    }
}

}  // namespace kestrix::shell

namespace kestrix::shell {

void LinkHandler::askToCheck(const std::string& name) {
    const bool scheduled = !pendingChecks_.empty();
    if (std::find(pendingChecks_.begin(), pendingChecks_.end(), name) == pendingChecks_.end())
        pendingChecks_.push_back(name);
    if (!scheduled) QMetaObject::invokeMethod(&deferrer_, [this] { checkAndShow(); }, Qt::QueuedConnection);
}

void LinkHandler::checkAndShow() {
    for (const std::string& name : std::exchange(pendingChecks_, {})) {
        for (const auto& drive : model_.drives()) {
            if (!drive.matches(name)) continue;
            // A drive being checked already is not checked twice.
            model_.check(drive);
            break;
        }
    }
    // The drives page, even for a name that matches nothing.
    model_.setMainPage("drives");
    openWindow_("main");
}

}  // namespace kestrix::shell
