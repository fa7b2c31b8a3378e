#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/Settings/FormSection.h"
#include "KestrixApp/Views/Settings/FormText.h"
#include "KestrixApp/Views/Settings/LinkRow.h"
#include "KestrixApp/Views/Settings/ModelToggle.h"
#include "KestrixApp/Views/Settings/SettingsTabs.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::views {

namespace {

QWidget* keyboardSection(AppModel& model, bool hotkeyAvailable) {
    const QString label = QString::fromStdString(localizedFormat("Eject All with %1 from any app", {localized("⌃⌥⌘E")}));
    QCheckBox* toggle = modelToggle(model, label, hotkeyEnabledFlag);
    if (hotkeyAvailable) return formSection(localizedText("Keyboard"), {toggle});
    // The setting is kept for a desktop that has the shortcut, but means nothing here.
    toggle->setEnabled(false);
    return formSection(localizedText("Keyboard"),
                       {toggle, secondaryText(localizedText("This desktop doesn’t let apps take a shortcut of their "
                                                            "own. To eject every drive from the keyboard, bind the "
                                                            "command kestrix --action eject-all to a shortcut in "
                                                            "your desktop’s keyboard settings."),
                                              captionSize)});
}

}  // namespace

QWidget* makeAutomationTab(AppModel& model, bool hotkeyAvailable) {
    return formPage({
        keyboardSection(model, hotkeyAvailable),
        formSection(localizedText("Links for Raycast, Alfred, Stream Deck and scripts"),
                    {new LinkRow("kestrix://eject-all", localizedText("Ejects every drive")),
                     new LinkRow("kestrix://eject?drive=Travel%20SSD", localizedText("Ejects one drive by name")),
                     new LinkRow("kestrix://check?drive=Travel%20SSD", localizedText("Shows what’s using a drive"))}),
    });
}

}  // namespace kestrix::views
