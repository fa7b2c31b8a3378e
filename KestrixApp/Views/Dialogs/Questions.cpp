#include "KestrixApp/Views/Dialogs/Questions.h"

#include <algorithm>

#include "KestrixKit/Flow/ReportText.h"
#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Holders/HolderPolicy.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::views {
namespace {

bool offers(const Holder& holder, HolderAction action, std::uint32_t currentUID) {
    const auto actions = HolderPolicy::actions(holder, currentUID);
    return std::find(actions.begin(), actions.end(), action) != actions.end();
}

}  // namespace

QuitQuestion quitQuestion(const Drive& drive, const std::vector<Holder>& holders, std::uint32_t currentUID) {
    std::vector<Holder> apps;
    std::vector<Holder> unaskable;
    QuitQuestion question;
    for (const Holder& holder : holders) {
        if (offers(holder, HolderAction::quitApp, currentUID)) {
            (holder.app->canBeAskedToQuit() ? apps : unaskable).push_back(holder);
        } else if (offers(holder, HolderAction::endProcess, currentUID)) {
            const bool writing = holder.isWriting();
            question.programs.push_back(
                {holder.pid,
                 writing ? localizedFormat("Stop %1 (writing to the drive)", {holder.name})
                         : localizedFormat("Stop %1", {holder.name}),
                 HolderPolicy::endsByDefault(holder)});
        }
    }
    std::vector<std::string> paragraphs;
    if (!apps.empty()) {
        paragraphs.push_back(localizedFormat("Kestrix asks %1 to quit, the same as choosing Quit. An app with unsaved "
                                             "work asks you first; nothing is force-quit.",
                                             {ReportText::holderNames(apps)}));
    }
    for (const Holder& holder : unaskable) paragraphs.push_back(HelperCatalog::cannotAskToQuit(holder));
    if (!question.programs.empty()) {
        paragraphs.push_back(localized("Tick the programs Kestrix may stop. Stopping one ends it at once (a Terminal "
                                       "window running it closes its program); unsaved work in it is lost."));
    }
    if (holders.size() - apps.size() - unaskable.size() > question.programs.size()) {
        paragraphs.push_back(localized("macOS services on the list are left alone; Kestrix tries again after they let go."));
    }
    question.text = {localizedFormat("Quit what’s using %1, then eject it?", {drive.name()}), paragraphs};
    return question;
}

Question forceEjectQuestion(const Drive& drive, const std::vector<Holder>& holders) {
    std::vector<Holder> writers;
    std::copy_if(holders.begin(), holders.end(), std::back_inserter(writers),
                 [](const Holder& holder) { return holder.isWriting(); });
    std::vector<std::string> paragraphs{localized("macOS unmounts the drive even though something is using it. Files "
                                                  "that are open on it can lose unsaved changes or be damaged.")};
    if (!writers.empty()) {
        paragraphs.push_back(localizedFormat("%1 is writing to the drive right now. Forcing it now is likely to damage "
                                             "that file.",
                                             {ReportText::holderNames(writers)}));
    }
    return {localizedFormat("Force eject %1?", {drive.name()}), paragraphs};
}

Question stopBackupQuestion(const Drive& drive) {
    return {localizedFormat("Stop the Time Machine backup to %1?", {drive.name()}),
            {localized("The backup stops partway; Time Machine finishes it the next time it runs. Your earlier "
                       "backups are kept.")}};
}

Question clearHistoryQuestion() {
    return {localized("Clear the eject history?"),
            {localized("The list of ejects and what blocked them is deleted from this Mac.")}};
}

}  // namespace kestrix::views
