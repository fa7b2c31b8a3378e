#include "KestrixApp/Views/Settings/FormSection.h"
#include "KestrixApp/Views/Settings/FormText.h"
#include "KestrixApp/Views/Settings/HistoryPathText.h"
#include "KestrixApp/Views/Settings/SettingsTabs.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::views {

QWidget* makePrivacyTab() {
    const std::string historyPath = shownHistoryPath(selectedVocabulary(), processEnvironment);
    return formPage({
        secondaryText(localizedText("Kestrix looks at which of your processes have files open on a drive, using "
                                    "macOS’s process information. It reads file names and paths, never what’s inside "
                                    "the files, and keeps nothing but its eject history.")),
        secondaryText(QString::fromStdString(
            localizedFormat("The history (drive names, dates and the names of apps that blocked an eject) is a file on "
                            "this Mac: %1. Clear it from the History page.",
                            {historyPath}))),
    });
}

}  // namespace kestrix::views
