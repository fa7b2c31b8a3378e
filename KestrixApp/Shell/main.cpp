#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>
#include <iostream>

#include "KestrixApp/Desktop/Quitting/DesktopQuitter.h"
#include "UDisks2/UDisks2Bus.h"
#include "UDisks2/UDisks2Ejector.h"
#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Model/AppSystemFactory.h"
#include "KestrixApp/Shell/AppShell.h"
#include "KestrixApp/Shell/HandOver.h"
#include "KestrixApp/Shell/LoginItems.h"
#include "KestrixApp/Shell/ShellOptions.h"
#include "KestrixKit/Linux/Text/Translations.h"
#include "KestrixApp/Views/Screenshots/Screenshots.h"
#include "KestrixKit/Simulated/World.h"
#include "KestrixKit/Text/Vocabulary.h"

namespace {

using namespace kestrix;
using namespace kestrix::shell;

std::vector<std::string> arguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

AppSystemChoice systemChoice(const ShellOptions& options) {
    AppSystemChoice choice{.worldPath = options.worldPath, .demo = options.demo, .trace = options.trace,
                           .historyPath = options.historyPath};
    // The desktop's disk service ejects for the user, asking for a password when it must; the
    // kernel's calls are what is left without it.
    if (options.isSimulated()) return choice;
    if (isUDisks2Available()) choice.desktopEjector = std::make_shared<UDisks2Ejector>();
    // Apps are asked to quit the way their own Quit does: their quit action, or their windows' close.
    const std::shared_ptr<desktop::DesktopQuitter> quitter = desktop::DesktopQuitter::forThisSession();
    choice.desktopQuitter = quitter;
    // Where it has no way to ask, the cards say so; where it can't raise a window, no Show.
    choice.appReach = [quitter](std::int32_t pid) { return std::optional<AppReach>(quitter->reach(pid)); };
    return choice;
}

// Pictures of the views, drawn without a display in the demo's words.
int takeScreenshots(int argc, char** argv, const ShellOptions& options) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The pictures are of a simulated system, in its words and the language the environment
    // asks for.
    Translations::use(Translations::folder());
    const auto result = views::renderScreenshots(QString::fromStdString(*options.screenshotFolder), options.worldPath);
    if (const auto* problem = std::get_if<std::string>(&result)) {
        std::cerr << "kestrix: " << *problem << '\n';
        return 1;
    }
    for (const QString& file : std::get<QStringList>(result)) std::cout << file.toStdString() << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const auto parsed = parseShellOptions(arguments(argc, argv));
    if (const auto* error = std::get_if<ShellOptionsError>(&parsed)) {
        std::cerr << "kestrix: " << error->message << "\n" << shellUsage;
        return 2;
    }
    // `kestrix` answered --help and --version, and ran --action, before it became this program.
    const auto& options = std::get<ShellOptions>(parsed);
    if (options.screenshotFolder) return takeScreenshots(argc, argv, options);
    // Started directly (at login, say) while another Kestrix runs.
    Translations::use(Translations::folder());
    if (const auto status = talkToRunningApp(options)) exitWith(*status);

    QApplication::setOrganizationName("orvane");
    QApplication::setApplicationName("Kestrix");
    QApplication::setApplicationVersion(KESTRIX_VERSION);
    QApplication::setDesktopFileName("com.orvane.Kestrix");
    QApplication app(argc, argv);
    // After the application object, which sets the locale from the environment.
    Translations::use(Translations::folder());
    // Qt's own texts (standard buttons, text field menus) in the language the app's texts use,
    // where the system has Qt's translations.
    QTranslator qtTexts;
    if (const std::string language = Translations::language();
        !language.empty() &&
        qtTexts.load(QString::fromStdString("qtbase_" + language), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qtTexts);
    }
    // The app lives in the tray: closing its last window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    auto backend = makeAppBackend(systemChoice(options));
    if (const auto* error = std::get_if<std::string>(&backend)) {
        std::cerr << "kestrix: " << *error << '\n';
        return 2;
    }
    auto& made = std::get<AppBackend>(backend);
    // A world speaks the words it was written in; this machine speaks Linux.
    selectVocabulary(made.vocabulary);
    AppModelParts parts{
        .system = std::move(made.system),
        .history = std::move(made.history),
        .loginItem = loginItemForThisSession(QCoreApplication::applicationFilePath().toStdString()),
    };
    AppShell shell(options, std::move(parts), std::make_shared<QSettings>());
    // Another start took the name meanwhile: it is the app.
    if (!shell.claimSessionBus())
        exitWith(talkToRunningApp(options).value_or(ActionStatus::notDone));
    shell.launch();
    return QApplication::exec();
}
