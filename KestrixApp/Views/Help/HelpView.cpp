#include "KestrixApp/Views/Help/HelpView.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>

#include "KestrixApp/Views/Settings/FormText.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::views {

namespace {

struct HelpSection {
    QString heading;
    QString text;
};

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

std::vector<HelpSection> helpSections(bool inTray) {
    return {
        {localizedText("Where to find Kestrix"),
         inTray ? localizedText("Click the eject symbol in the menu bar to see every drive, whether it’s ready, and "
                                "what’s using it. Open Kestrix there shows them in a larger window, with every eject "
                                "so far.")
                : localizedText("Your desktop has no system tray, so Kestrix is a window of its own, with every drive, "
                                "whether it’s ready, and what’s using it. Closed, it comes back when you start Kestrix "
                                "again. Open Kestrix there shows them in a larger window, with every eject so far.")},
        {localizedText("How Kestrix finds what’s using a drive"),
         localizedText("It looks at every one of your own processes, the way the lsof command does: files open on the "
                       "drive, a current folder on it (a Terminal window after cd), a program started from it, and "
                       "files mapped into memory. It matches on the drive itself, so files reached through links count "
                       "too. This takes a fraction of a second and changes nothing.")},
        {localizedText("What it can’t see"),
         localizedText("macOS’s background services (Spotlight, Time Machine, fseventsd and others) run as the system. "
                       "Without an administrator, no app can look inside them, Kestrix included. When nothing of yours "
                       "holds a drive but macOS still refuses, Kestrix says a macOS service is using it, names it when "
                       "macOS does, and tries once more after a moment. These services usually let go within seconds.")},
        {localizedText("Eject and Quit and Eject"),
         localizedText("Eject never touches a drive your apps are using: it shows you the list instead. Quit and Eject "
                       "asks those apps to quit the normal way, so an app with unsaved work asks you first. An app "
                       "still open after about 10 seconds is brought to the front, and Kestrix waits for it. "
                       "Command-line programs are only stopped when you tick them. macOS services, Finder and other "
                       "users’ processes are never quit.")},
        {localizedText("Force Eject"),
         localizedText("The last resort, behind a warning. macOS unmounts the drive even though something is using it, "
                       "and open files can lose changes or be damaged. Kestrix never forces anything on its own.")},
        {localizedText("Time Machine"),
         localizedText("When Time Machine is backing up to a drive, Kestrix says so. It can wait for the backup to "
                       "finish and then eject, or ask Time Machine to stop the backup, which Time Machine finishes the "
                       "next time it runs.")},
        {localizedText("Eject All, the hotkey and automation"),
         fromStd(localizedFormat("Eject All ejects every drive, one after another, and lists how each one went. %1 "
                                 "does the same from any app. Shortcuts offers Eject All Drives and Eject Drive. And "
                                 "there are links: kestrix://eject-all, kestrix://eject?drive=Name and "
                                 "kestrix://check?drive=Name.",
                                 {localized("⌃⌥⌘E")}))},
        {localizedText("Disk images and network shares"),
         localizedText("They’re hidden at first. Turn them on in Settings › General.")},
        {localizedText("Privacy"),
         localizedText("Kestrix reads the names of processes and files, never what’s inside the files, and keeps "
                       "nothing but its eject history, on this Mac.")},
    };
}

QWidget* sectionsColumn(bool inTray) {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(12);
    for (const HelpSection& section : helpSections(inTray)) {
        auto* block = new QVBoxLayout;
        block->setSpacing(4);
        block->addWidget(sectionHeading(section.heading));
        block->addWidget(secondaryText(section.text));
        layout->addLayout(block);
    }
    layout->addStretch(1);
    return column;
}

QPushButton* linkButton(const QString& title, const char* link) {
    auto* button = new QPushButton(title);
    QObject::connect(button, &QPushButton::clicked, button, [link] { QDesktopServices::openUrl(QUrl(link)); });
    return button;
}

}  // namespace

HelpView::HelpView(bool inTray, QWidget* parent) : QWidget(parent) {
    setObjectName("help");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    auto* scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(sectionsColumn(inTray));
    layout->addWidget(scroller, 1);
    auto* actions = new QHBoxLayout;
    actions->setContentsMargins(24, 0, 24, 0);
    actions->addWidget(linkButton(localizedText("Email Support"), supportMailLink));
    actions->addWidget(linkButton(localizedText("Kestrix on the Web"), productPageLink));
    actions->addStretch(1);
    layout->addLayout(actions);
}

}  // namespace kestrix::views
