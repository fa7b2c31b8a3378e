#pragma once

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Volumes/Drive.h"

class QWidget;

namespace kestrix {
class AppModel;
}

namespace kestrix::views {

// The questions a view asks before a step that cannot be undone. Behind an interface so that
// tests answer them.
class ConfirmationDialogs {
public:
    virtual ~ConfirmationDialogs() = default;
    // The command-line programs the user ticked to end; nothing when the user cancelled. The
    // user's id decides which holders are apps to quit and which are programs to end.
    virtual std::optional<std::set<std::int32_t>> confirmQuitAndEject(QWidget* parent, const Drive& drive,
                                                                       const std::vector<Holder>& holders,
                                                                       std::uint32_t currentUID) = 0;
    // The holders that are writing are named: forcing is likely to damage their files.
    virtual bool confirmForceEject(QWidget* parent, const Drive& drive, const std::vector<Holder>& holders) = 0;
    virtual bool confirmStopBackup(QWidget* parent, const Drive& drive) = 0;
    virtual bool confirmClearHistory(QWidget* parent) = 0;
};

// What the app shell does for the views.
struct ShellCommands {
    std::function<void(const QString& windowId)> openWindow;
    // Empty where updates are turned off: the command is then not offered.
    std::function<void()> checkForUpdates;
    std::function<void()> showAbout;
    std::function<void()> quit;
};

// Everything a view reads and calls: the model, the shell, the questions, and the clock (so
// that tests can move time).
struct ViewContext {
    AppModel& model;
    ShellCommands shell;
    ConfirmationDialogs& dialogs;
    std::function<std::chrono::system_clock::time_point()> now = [] { return std::chrono::system_clock::now(); };
};

}  // namespace kestrix::views
