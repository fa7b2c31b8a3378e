#include "KestrixApp/Shell/Tests/ShellHarness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>

#include "KestrixApp/Model/AppSettings.h"
#include "KestrixApp/Model/AppSystemFactory.h"

namespace kestrix::shell::test {

std::string worldPath(const std::string& name) { return std::string(KESTRIX_SHELL_TEST_DATA) + "/" + name; }

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
