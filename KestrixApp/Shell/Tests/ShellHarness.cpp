#include "KestrixApp/Shell/Tests/ShellHarness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <fstream>

#include "KestrixApp/Model/AppSettings.h"
#include "KestrixApp/Model/AppSystemFactory.h"

namespace kestrix::shell::test {

std::string worldPath(const std::string& name) { return std::string(KESTRIX_SHELL_TEST_DATA) + "/" + name; }

nlohmann::json crowdedWorld() {
    nlohmann::json world = nlohmann::json::parse(std::ifstream(worldPath("two-drives-world.json")));
    world["volumes"] = nlohmann::json::array();
    world["processes"] = nlohmann::json::array();
    int pid = 4100;
    for (int index = 0; index < 8; ++index) {
        const std::string name = "Stick " + std::to_string(index + 1);
        const int device = 2100 + 16 * index;
        world["volumes"].push_back({{"path", "/media/" + name}, {"name", name}, {"totalCapacity", 32000000000},
                                    {"availableCapacity", 1000000000}, {"isEjectable", true}, {"isRemovable", true},
                                    {"mountSource", "/dev/sd" + std::string(1, static_cast<char>('d' + index)) + "1"},
                                    {"fileSystem", "vfat"}, {"device", device}, {"deviceProtocol", "USB"},
                                    {"wholeDisk", "sd" + std::string(1, static_cast<char>('d' + index))}});
        for (const char* program : {"less", "vim", "rsync"}) {
            world["processes"].push_back({{"pid", pid++}, {"name", program}, {"uid", 1000},
                                          {"openFiles", {{{"path", "/media/" + name + "/" + program + ".txt"},
                                                          {"device", device}}}}});
        }
    }
    return world;
}

ShellOnWorld::ShellOnWorld(const std::string& worldName, ShellOptions options, std::shared_ptr<WaitTimer> timer) {
    options.worldPath = worldPath(worldName);
    options.historyPath = folder() + "/history.json";
    auto backend = std::get<AppBackend>(makeAppBackend({.worldPath = options.worldPath, .historyPath = options.historyPath}));
    AppModelParts parts{.system = std::move(backend.system),
                        .history = std::move(backend.history),
                        .settings = std::make_shared<AppSettings>(QString::fromStdString(folder() + "/settings.ini")),
                        .timer = std::move(timer)};
    shell_ = std::make_unique<AppShell>(
        options, std::move(parts),
        std::make_shared<QSettings>(QString::fromStdString(folder() + "/windows.ini"), QSettings::IniFormat));
}

bool ShellOnWorld::waitFor(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > milliseconds) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

}  // namespace kestrix::shell::test
