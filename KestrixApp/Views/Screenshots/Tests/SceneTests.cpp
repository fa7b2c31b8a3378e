#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStyle>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <gtest/gtest.h>
#include <mutex>
#include <set>

#include "KestrixApp/Desktop/Updates/UpdateTexts.h"
#include "KestrixApp/Views/Dialogs/QuestionBoxes.h"
#include "KestrixApp/Views/Dialogs/QuitAndEjectDialog.h"
#include "KestrixApp/Views/Help/HelpView.h"
#include "KestrixApp/Views/MainWindow/MainWindowView.h"
#include "KestrixApp/Views/Panel/MenuPanel.h"
#include "KestrixApp/Views/Screenshots/DarkPalette.h"
#include "KestrixApp/Views/Screenshots/Tests/SceneChecks.h"
#include "KestrixApp/Views/Settings/SettingsView.h"
#include "KestrixApp/Views/Style/WindowFit.h"
#include "KestrixApp/Views/TestSupport/ViewHarness.h"
#include "KestrixApp/Views/Toast/ToastPanel.h"
#include "KestrixApp/Views/Welcome/WelcomeView.h"
#include "KestrixKit/Flow/ReportText.h"
#include "KestrixKit/Linux/Text/Translations.h"
#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Text/Vocabulary.h"

// gettext's signal that the language changed while the program runs.
extern "C" int _nl_msg_cat_cntr;

namespace {

using namespace kestrix;
using namespace kestrix::views;
using kestrix::testing::ModelHarness;
using kestrix::views::testing::ViewHarness;
using kestrix::views::testing::contrastProblems;
using kestrix::views::testing::iconProblems;
using kestrix::views::testing::layoutProblems;

// How the desktop around the app looks, and what it speaks.
struct Look {
    bool dark = false;
    bool iconTheme = true;
    const char* language = "en";
    Vocabulary vocabulary = Vocabulary::document;

    std::string name() const {
        return std::string(dark ? "dark" : "light") + (iconTheme ? ", Adwaita" : ", no icon theme") + ", " + language +
               (vocabulary == Vocabulary::linuxSystem ? ", Linux words" : "");
    }
};

std::vector<Look> everyLook() {
    std::vector<Look> looks;
    for (const bool dark : {false, true}) {
        for (const bool iconTheme : {true, false}) {
            for (const char* language : {"en", "es"}) looks.push_back({dark, iconTheme, language});
        }
    }
    // The real system speaks Linux, and in Spanish as well.
    looks.push_back({false, true, "es", Vocabulary::linuxSystem});
    return looks;
}

nlohmann::json sceneWorld(const char* name) {
    std::ifstream file(std::string(KESTRIX_SCENE_WORLDS) + "/" + name + ".json");
    return nlohmann::json::parse(file);
}

// Sets the desktop's palette, icon theme and language for the views made after it, and puts
// the app's own back when it goes.
class DesktopLook {
public:
    DesktopLook() : palette_(QApplication::palette()), searchPaths_(QIcon::themeSearchPaths()) {
        for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
            searchPaths_ << QDir(data).filePath("icons");
    }
    ~DesktopLook() {
        QApplication::setPalette(palette_);
        speak("en");
        selectVocabulary(Vocabulary::document);
    }

    void apply(const Look& look) {
        QApplication::setPalette(look.dark ? darkPalette() : QApplication::style()->standardPalette());
        if (look.iconTheme) {
            QIcon::setThemeSearchPaths(searchPaths_);
            QIcon::setThemeName("Adwaita");
        } else {
            // Nothing on the theme paths at all, as on a desktop that names no theme.
            QIcon::setThemeSearchPaths({noThemes_.path()});
            QIcon::setThemeName({});
            QIcon::setFallbackThemeName({});
        }
        speak(look.language);
        selectVocabulary(look.vocabulary);
    }

    bool hasAdwaita() const {
        for (const QString& folder : searchPaths_) {
            if (QDir(folder).exists("Adwaita/index.theme")) return true;
        }
        return false;
    }

private:
    static void speak(const char* language) {
        ::setenv("LANGUAGE", language, 1);
        ++_nl_msg_cat_cntr;
        Translations::use(Translations::folder());
    }

    QPalette palette_;
    QStringList searchPaths_;
    QTemporaryDir noThemes_;
};

// Every text a Spanish run looked up and found no translation for.
class MissedTexts {
public:
    MissedTexts() {
        listenForMissedTranslations([this](std::string_view english) {
            const std::lock_guard hold(lock_);
            if (listening_) missed_.emplace(english);
        });
    }
    ~MissedTexts() { listenForMissedTranslations({}); }
    void listen(bool on) {
        const std::lock_guard hold(lock_);
        listening_ = on;
    }
    std::set<std::string> missed() {
        const std::lock_guard hold(lock_);
        return missed_;
    }

private:
    std::mutex lock_;
    bool listening_ = false;
    std::set<std::string> missed_;
};

void settleLayout() {
    for (int round = 0; round < 4; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Renders every view of the app over the model as the world left it, and says what is wrong.
class SceneInspector {
public:
    SceneInspector(ViewHarness& views, const Look& look) : views_(views), look_(look) {}

    std::vector<std::string> inspectEveryView() {
        AppModel& model = *views_.model;
        {
            MenuPanel panel(*views_.context);
            inspect(panel, "panel");
            // As a window of its own on the smallest screen: the list scrolls, the rest stays.
            const int room = fittedWindowSize(QSize(MenuPanel::panelWidth, QWIDGETSIZE_MAX), smallestWorkArea).height();
            panel.setHeightLimit(room);
            inspect(panel, "panel on a small screen");
            if (panel.height() > room) {
                problems_.push_back("panel on a small screen (" + look_.name() + "): " + std::to_string(panel.height()) +
                                    " px high, with room for " + std::to_string(room));
            }
        }
        {
            MainWindowView window(*views_.context);
            window.resize(920, 640);
            model.setMainPage("drives");
            inspect(window, "main window, drives");
            window.resize(760, 520);
            inspect(window, "smallest main window, drives");
            model.setMainPage("history");
            inspect(window, "smallest main window, history");
            window.resize(920, 640);
            inspect(window, "main window, history");
            model.setMainPage("drives");
        }
        {
            SettingsView settings(model, {});
            settings.setFixedSize(580, 480);
            for (const char* tab : {"general", "automation", "privacy"}) {
                model.setSettingsTab(tab);
                inspect(settings, std::string("settings, ") + tab);
            }
            model.setSettingsTab("general");
        }
        for (const bool inTray : {true, false}) {
            const std::string where = inTray ? ", in the tray" : ", without a tray";
            WelcomeView welcome(model, [](const QString&) {}, inTray);
            welcome.setFixedSize(600, 560);
            inspect(welcome, "welcome" + where);
            welcome.setFixedSize(fittedWindowSize(welcome.size(), smallestWorkArea));
            inspect(welcome, "welcome on a small screen" + where);
            HelpView help(inTray);
            help.resize(640, 620);
            inspect(help, "help" + where);
            help.resize(fittedWindowSize(help.size(), smallestWorkArea));
            inspect(help, "help on a small screen" + where);
        }
        {
            ToastPanel toast;
            toast.show(QString::fromStdString(ReportText::ejectAllSummary(reports())));
            settleLayout();
            inspect(toast.widget(), "toast");
            toast.hide();
        }
        inspectQuestions();
        // The update alerts' words, which no view shows until the network answers.
        desktop::upToDateNotice("Kestrix", "1.0");
        desktop::couldNotCheckNotice("Kestrix");
        desktop::newVersionNotice("Kestrix", "1.0", "1.1");
        return problems_;
    }

private:
    std::vector<DriveReport> reports() const {
        std::vector<DriveReport> shown;
        for (const Drive& drive : views_.model->drives()) {
            if (const auto report = views_.model->state(drive.id).report) shown.push_back(*report);
        }
        return shown;
    }

    void inspectQuestions() {
        AppModel& model = *views_.model;
        for (const Drive& drive : model.drives()) {
            const DriveDisplay display = model.display(drive.id);
            const auto* held = display.as<DriveDisplay::InUse>();
            if (held == nullptr) continue;
            QuitAndEjectDialog quit(quitQuestion(drive, held->holders, model.currentUID()));
            inspect(quit, "Quit and Eject for " + drive.name());
            const GuardedQuestion force = forceEjectBox(forceEjectQuestion(drive, held->holders), nullptr);
            inspect(*force.box, "Force Eject for " + drive.name());
            delete force.box;
            const GuardedQuestion stop = stopBackupBox(stopBackupQuestion(drive), nullptr);
            inspect(*stop.box, "Stop Backup for " + drive.name());
            delete stop.box;
            const GuardedQuestion clear = clearHistoryBox(clearHistoryQuestion(), nullptr);
            inspect(*clear.box, "Clear History");
            delete clear.box;
            return;  // one drive's questions show them all
        }
    }

    void inspect(QWidget& window, const std::string& view) {
        window.show();
        settleLayout();
        const QImage picture = window.grab().toImage();
        // Every picture checked, for a person to look at as well.
        if (const QString folder = qEnvironmentVariable("KESTRIX_SCENE_PICTURES"); !folder.isEmpty())
            picture.save(QDir(folder).filePath(QString::fromStdString(view + " (" + look_.name() + ").png")));
        const auto add = [&](const std::vector<std::string>& found) {
            for (const std::string& problem : found) problems_.push_back(view + " (" + look_.name() + "): " + problem);
        };
        add(layoutProblems(window));
        add(contrastProblems(window, picture));
        // Where no icon theme is installed at all, only the app's own drawings are left; the
        // themed symbols are checked where a theme is.
        if (look_.iconTheme) add(iconProblems(window));
        window.hide();
    }

    ViewHarness& views_;
    Look look_;
    std::vector<std::string> problems_;
};

// Starts the views over the world, with what the history page and the questions need: each
// held drive's eject refused once.
void startWorld(ViewHarness& views, const char* world) {
    views.startViews(sceneWorld(world));
    for (const Drive& drive : std::vector<Drive>(views.model->drives())) {
        if (views.model->display(drive.id).needsAttention()) views.model->eject(drive, false, false);
    }
    const std::size_t count = views.model->drives().size();
    ASSERT_TRUE(ModelHarness::waitFor([&] { return views.settled(count); }));
}

void expectEveryViewRight(const char* world) {
    ViewHarness views;
    startWorld(views, world);
    DesktopLook desktop;
    MissedTexts translations;
    std::vector<std::string> problems;
    for (const Look& look : everyLook()) {
        if (look.iconTheme && !desktop.hasAdwaita()) {
            std::cout << "skipping " << look.name() << ": the Adwaita icon theme is not installed\n";
            continue;
        }
        desktop.apply(look);
        translations.listen(std::string(look.language) == "es");
        const auto found = SceneInspector(views, look).inspectEveryView();
        translations.listen(false);
        problems.insert(problems.end(), found.begin(), found.end());
    }
    for (const std::string& problem : problems) ADD_FAILURE() << problem;
    for (const std::string& english : translations.missed()) ADD_FAILURE() << "no Spanish for \"" << english << '"';
}

TEST(Scenes, EveryViewHoldsWithoutDrives) { expectEveryViewRight("empty"); }

TEST(Scenes, EveryViewHoldsWithOneDrive) { expectEveryViewRight("one-drive"); }

// Six drives, a 50-character name, six holders on one drive.
TEST(Scenes, EveryViewHoldsWhenCrowded) { expectEveryViewRight("crowded"); }

}  // namespace
