#include "KestrixApp/Shell/LinkHandler.h"

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Shell/NoDriveText.h"
#include "KestrixKit/Automation/URLCommand.h"

namespace kestrix::shell {

LinkHandler::LinkHandler(AppModel& model, std::function<void(const QString&)> openWindow,
                         std::function<void(const QString&)> toast)
    : model_(model), openWindow_(std::move(openWindow)), toast_(std::move(toast)) {}

void LinkHandler::handle(const std::vector<std::string>& links) {
    if (!model_.live()) return;
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
            for (const auto& drive : model_.drives()) {
                if (!drive.matches(check->drive)) continue;
                model_.check(drive);
                break;
            }
            model_.setMainPage("drives");
            openWindow_("main");
        } else {
            openWindow_("main");
        }
    }
}

}  // namespace kestrix::shell
