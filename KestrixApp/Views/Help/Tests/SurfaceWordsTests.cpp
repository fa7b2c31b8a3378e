#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "KestrixApp/Model/AppSystemFactory.h"
#include "KestrixApp/Model/Tests/ModelHarness.h"
#include "KestrixApp/Views/Help/HelpView.h"
#include "KestrixApp/Views/MainWindow/MainWindowView.h"
#include "KestrixApp/Views/MoreApps/MoreAppsView.h"
#include "KestrixApp/Views/Panel/MenuPanel.h"
#include "KestrixApp/Views/TestSupport/AnsweringDialogs.h"
#include "KestrixApp/Views/Settings/SettingsView.h"
#include "KestrixApp/Views/Welcome/WelcomeView.h"
#include "KestrixKit/Text/Vocabulary.h"

namespace {

using namespace kestrix;
using namespace kestrix::views;
using kestrix::testing::ModelHarness;

// Every text a view shows: labels, buttons, section headings, tab titles, accessible names.
QStringList shownTexts(QWidget& view) {
    QStringList texts;
    for (QLabel* label : view.findChildren<QLabel*>()) texts << label->text();
    for (QAbstractButton* button : view.findChildren<QAbstractButton*>()) texts << button->text() << button->accessibleName();
    for (QGroupBox* section : view.findChildren<QGroupBox*>()) texts << section->title();
    for (QWidget* part : view.findChildren<QWidget*>()) texts << part->accessibleName();
    if (auto* tabs = qobject_cast<QTabWidget*>(&view)) {
        for (int index = 0; index < tabs->count(); ++index) texts << tabs->tabText(index);
    }
    texts.removeAll(QString());
    return texts;
}

class SurfaceWords : public ::testing::Test {
protected:
    void TearDown() override { selectVocabulary(Vocabulary::document); }
    ModelHarness harness;
};

TEST_F(SurfaceWords, OnTheRealSystemNoWindowNamesTheOtherSystem) {
    selectVocabulary(Vocabulary::linuxSystem);
    harness.start(nlohmann::json::object());
    SettingsView settings(*harness.model, {.hotkeyAvailable = false});
    WelcomeView welcome(*harness.model, [](const QString&) {}, true);
    HelpView help(true);
    WelcomeView welcomeWithoutTray(*harness.model, [](const QString&) {}, false);
    HelpView helpWithoutTray(false);
    const QRegularExpression otherSystem(
        "macOS|\\bMac\\b|Finder|Spotlight|Quick Look|Time Machine|Terminal|Shortcuts|Raycast|Alfred|\\.dmg|"
        "Full Disk Access|menu bar|\u2318|\u2325|\u2303");
    for (QWidget* view : std::initializer_list<QWidget*>{&settings, &welcome, &help, &welcomeWithoutTray, &helpWithoutTray}) {
        for (const QString& text : shownTexts(*view)) {
            EXPECT_FALSE(text.contains(otherSystem)) << view->objectName().toStdString() << ": " << text.toStdString();
        }
    }
}

TEST_F(SurfaceWords, TheDemoIsALinuxDesktopInEveryWindow) {
    auto made = makeAppBackend(AppSystemChoice{.demo = true});
    AppBackend& backend = std::get<AppBackend>(made);
    selectVocabulary(backend.vocabulary);
    harness.build(std::move(backend));
    AppModel& model = *harness.model;
    model.start();
    ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(3); }));
    bool allDone = false;
    model.ejectAll(false, [&](std::vector<DriveReport>) { allDone = true; });
    ASSERT_TRUE(ModelHarness::waitFor([&] { return allDone; }));

    kestrix::views::testing::AnsweringDialogs dialogs;
    ViewContext context{.model = model, .shell = {}, .dialogs = dialogs};
    MenuPanel panel(context);
    MainWindowView window(context);
    SettingsView settings(model, {.moreAppsList = [] { return makeMoreAppsView(); }});
    WelcomeView welcome(model, [](const QString&) {}, true);
    HelpView help(true);
    const QRegularExpression otherSystem(
        "macOS|\\bMac\\b|Finder|Spotlight|Quick Look|Time Machine|Terminal|Preview|Photos|App Store|/Volumes|"
        "Shortcuts|Raycast|Alfred|\\.dmg|Full Disk Access|menu bar|\u2318|\u2325|\u2303");
    QStringList everything;
    for (const char* page : {"drives", "history"}) {
        model.setMainPage(page);
        everything << shownTexts(window);
    }
    for (QWidget* view : std::initializer_list<QWidget*>{&panel, &settings, &welcome, &help}) everything << shownTexts(*view);
    for (const QString& text : everything) EXPECT_FALSE(text.contains(otherSystem)) << text.toStdString();
    EXPECT_FALSE(everything.filter("Search indexer").isEmpty()) << "the demo's holders show";
}

TEST_F(SurfaceWords, InAWorldTheWindowsKeepTheirOwnWords) {
    harness.start(nlohmann::json::object());
    HelpView help(true);
    const QStringList helpTexts = shownTexts(help);
    for (const char* heading : {"How Kestrix finds what’s using a drive", "What it can’t see", "Eject and Quit and Eject",
                                "Force Eject", "Time Machine", "Eject All, the hotkey and automation",
                                "Disk images and network shares", "Privacy", "Email Support", "Kestrix on the Web"}) {
        EXPECT_TRUE(helpTexts.contains(heading)) << heading;
    }
    SettingsView settings(*harness.model, {});
    const QStringList settingsTexts = shownTexts(settings);
    EXPECT_TRUE(settingsTexts.contains("Eject All with ⌃⌥⌘E from any app"));
    EXPECT_TRUE(settingsTexts.contains(
        "The history (drive names, dates and the names of apps that blocked an eject) is a file on this Mac: "
        "~/Library/Application Support/com.orvane.kestrix/history.json. Clear it from the History page."));
}

}  // namespace
