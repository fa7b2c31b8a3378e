#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>
#include <chrono>
#include <iostream>
#include <thread>

#include "KestrixApp/Desktop/Quitting/DesktopQuitter.h"
#include "KestrixApp/Desktop/UDisks2/UDisks2Bus.h"
#include "KestrixApp/Desktop/UDisks2/UDisks2Ejector.h"
#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Model/AppSystemFactory.h"
#include "KestrixApp/Shell/ActionClient.h"
#include "KestrixApp/Shell/AppShell.h"
#include "KestrixApp/Shell/AutomationService.h"
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

// A second start hands its links to the running app, or asks it to show itself.
int forwardToRunningInstance(const ShellOptions& options) {
    auto bus = QDBusConnection::sessionBus();
    const auto call = [&](const char* interface, const char* method, const QVariantList& arguments) {
        auto message = QDBusMessage::createMethodCall(AutomationService::serviceName, AutomationService::objectPath,
                                                      interface, method);
        message.setArguments(arguments);
        return bus.call(message).type() != QDBusMessage::ErrorMessage;
    };
    bool delivered = true;
    if (options.links.empty()) delivered = call("org.freedesktop.Application", "Activate", {QVariantMap{}});
    for (const auto& link : options.links)
        delivered = call(AutomationService::interfaceName, "OpenURL", {QString::fromStdString(link)}) && delivered;
    return delivered ? 0 : 1;
}

AppSystemChoice systemChoice(const ShellOptions& options) {
    AppSystemChoice choice{.worldPath = options.worldPath, .demo = options.demo, .trace = options.trace,
                           .historyPath = options.historyPath};
    // The desktop's disk service ejects for the user, asking for a password when it must; the
    // kernel's calls are what is left without it.
    if (options.isSimulated()) return choice;
    if (isUDisks2Available()) choice.desktopEjector = std::make_shared<UDisks2Ejector>();
    // Apps are asked to quit the way their own Quit does: their quit action, or their windows' close.
    choice.desktopQuitter = desktop::DesktopQuitter::forThisSession();
    return choice;
}

// Pictures of the views, drawn without a display in the demo's words.
int takeScreenshots(int argc, char** argv, const std::string& folder) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The pictures are of the demonstration system, in its words and the language the
    // environment asks for.
    Translations::use(Translations::folder());
    selectVocabulary(demoWorld().words);
    const auto result = views::renderScreenshots(QString::fromStdString(folder));
    if (const auto* problem = std::get_if<std::string>(&result)) {
        std::cerr << "kestrix: " << *problem << '\n';
        return 1;
    }
    for (const QString& file : std::get<QStringList>(result)) std::cout << file.toStdString() << '\n';
    return 0;
}

void realSleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

}  // namespace

int main(int argc, char** argv) {
    const auto parsed = parseShellOptions(arguments(argc, argv));
    if (const auto* error = std::get_if<ShellOptionsError>(&parsed)) {
        std::cerr << "kestrix: " << error->message << "\n" << shellUsage;
        return 2;
    }
    const auto& options = std::get<ShellOptions>(parsed);
    if (options.help) {
        std::cout << shellUsage;
        return 0;
    }
    if (options.version) {
        std::cout << "kestrix " << KESTRIX_VERSION << '\n';
        return 0;
    }
    if (options.action) {
        QCoreApplication core(argc, argv);
        Translations::use(Translations::folder());
        return runAction(*options.action, QDBusConnection::sessionBus(), std::cout, std::cerr, realSleep);
    }

    if (options.screenshotFolder) return takeScreenshots(argc, argv, *options.screenshotFolder);

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

    auto bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface()->isServiceRegistered(AutomationService::serviceName))
        return forwardToRunningInstance(options);

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
    if (!shell.claimSessionBus()) return forwardToRunningInstance(options);
    shell.launch();
    return QApplication::exec();
}
