#pragma once

#include <QTemporaryDir>
#include <nlohmann/json.hpp>
#include <memory>
#include <string>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Shell/AppShell.h"

namespace kestrix::shell::test {

// The app shell on a copy of a world, with its settings and history in a folder of its own.
class ShellOnWorld {
public:
    // An absent timer waits on the clock.
    explicit ShellOnWorld(const std::string& worldName, ShellOptions options = {},
                          std::shared_ptr<WaitTimer> timer = nullptr);

    AppShell& shell() { return *shell_; }
    AppModel& model() { return shell_->model(); }
    // Runs the event loop until the condition holds; false after the timeout.
    static bool waitFor(const std::function<bool()>& condition, int milliseconds = 5000);
    std::string folder() const { return folder_.path().toStdString(); }

private:
    QTemporaryDir folder_;
    std::unique_ptr<AppShell> shell_;
};

// The path of a world file of the shell's tests.
std::string worldPath(const std::string& name);

// Eight drives, each kept busy by three programs: far more than a 1024×600 screen shows at once.
nlohmann::json crowdedWorld();

}  // namespace kestrix::shell::test
