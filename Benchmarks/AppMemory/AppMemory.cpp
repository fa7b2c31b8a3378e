// The app's resident memory: once it has started and settled, after each of its windows has been
// opened and closed, and after 100 ejects of a drive that is plugged in again after each. Runs
// the app's own shell on whatever display the environment names (a desktop with a tray, or the
// offscreen platform), over a simulated system with one free stick.
//
// usage: app-memory FOLDER    (the world, history and settings are written there)
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QWidget>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Model/AppSettings.h"
#include "KestrixApp/Model/AppSystemFactory.h"
#include "KestrixApp/Shell/AppShell.h"
#include "KestrixApp/Shell/WindowRegistry.h"
#include "KestrixKit/Text/Vocabulary.h"

namespace {

using namespace kestrix;

void settle(int milliseconds) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

bool waitFor(const std::function<bool()>& condition) {
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > 20000) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

// VmRSS, RssAnon, RssFile and RssShmem, in MiB.
std::string residentMemory() {
    std::ifstream status("/proc/self/status");
    std::ostringstream shown;
    for (std::string line; std::getline(status, line);) {
        for (const char* key : {"VmRSS:", "RssAnon:", "RssFile:", "RssShmem:"}) {
            if (line.rfind(key, 0) != 0) continue;
            shown << (shown.tellp() > 0 ? ", " : "") << std::string(key, std::string(key).size() - 1) << ' '
                  << std::fixed << std::setprecision(1) << std::stod(line.substr(std::string(key).size())) / 1024
                  << " MiB";
        }
    }
    return shown.str();
}

void writeWorld(const std::string& path) {
    // Written beside it and renamed over it: the app sees one whole file.
    std::ofstream(path + ".next") << R"({"words": "linux", "currentUID": 1000, "ownPID": 900, "volumes": [
        {"path": "/media/Bench", "name": "Bench", "totalCapacity": 16000000000, "availableCapacity": 8000000000,
         "isEjectable": true, "isRemovable": true, "mountSource": "/dev/sdb1", "fileSystem": "ext4",
         "device": 2065, "deviceProtocol": "USB", "wholeDisk": "sdb"}]})";
    std::rename((path + ".next").c_str(), path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: app-memory FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const std::string world = folder + "/world.json";
    writeWorld(world);
    auto made = makeAppBackend({.worldPath = world, .historyPath = folder + "/history.json"});
    if (const auto* error = std::get_if<std::string>(&made)) {
        std::cerr << "app-memory: " << *error << '\n';
        return 2;
    }
    auto& backend = std::get<AppBackend>(made);
    selectVocabulary(backend.vocabulary);
    auto settings = std::make_shared<AppSettings>(QString::fromStdString(folder + "/settings.ini"));
    settings->setFlag(onboardedSetting, true);
    shell::ShellOptions options;
    options.worldPath = world;
    shell::AppShell shell(options,
                          {.system = std::move(backend.system), .history = std::move(backend.history), .settings = settings},
                          std::make_shared<QSettings>(QString::fromStdString(folder + "/windows.ini"), QSettings::IniFormat));
    shell.launch();
    AppModel& model = shell.model();
    if (!waitFor([&] { return model.drives().size() == 1; })) {
        std::cerr << "app-memory: the stick was never listed\n";
        return 1;
    }
    settle(3000);
    std::cout << "at start (" << (shell.hasTrayIcon() ? "in the tray" : "the panel as a window")
              << "): " << residentMemory() << '\n';

    for (const char* id : {"main", "settings", "help", "welcome"}) {
        QWidget* window = shell.windows().openWindow(id);
        settle(1000);
        window->close();
        settle(500);
    }
    settle(2000);
    std::cout << "after opening and closing every window: " << residentMemory() << '\n';

    for (int eject = 0; eject < 100; ++eject) {
        bool done = false;
        model.ejectDriveNamed("Bench", [&](std::optional<DriveReport>) { done = true; });
        if (!waitFor([&] { return done && model.drives().empty(); })) {
            std::cerr << "app-memory: eject " << eject + 1 << " never ended\n";
            return 1;
        }
        // Plugged in again.
        writeWorld(world);
        if (!waitFor([&] { return model.drives().size() == 1; })) {
            std::cerr << "app-memory: the stick never came back\n";
            return 1;
        }
    }
    settle(3000);
    std::cout << "after 100 ejects: " << residentMemory() << '\n';
    return 0;
}
