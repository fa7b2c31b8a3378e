#pragma once

#include <QString>
#include <chrono>
#include <memory>
#include <ostream>
#include <vector>

#include "KestrixApp/Model/Tests/ModelHarness.h"
#include "KestrixApp/Views/TestSupport/AnsweringDialogs.h"
#include "KestrixApp/Views/ViewContext.h"

// Test failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace kestrix::views::testing {

// A live model on a world, and the context the views get over it: the shell's commands are
// recorded and the clock is the test's.
class ViewHarness : public kestrix::testing::ModelHarness {
public:
    AnsweringDialogs dialogs;
    std::chrono::system_clock::time_point clock = std::chrono::system_clock::now();
    std::vector<QString> openedWindows;
    int quits = 0;
    int updateChecks = 0;
    std::unique_ptr<ViewContext> context;

    // Starts the model and waits until every drive was checked; offerUpdates decides whether
    // the shell can check for updates.
    void startViews(const nlohmann::json& world, bool offerUpdates = false) {
        start(world);
        ShellCommands shell{.openWindow = [this](const QString& id) { openedWindows.push_back(id); },
                            .showAbout = [] {},
                            .quit = [this] { ++quits; }};
        if (offerUpdates) shell.checkForUpdates = [this] { ++updateChecks; };
        context = std::make_unique<ViewContext>(
            ViewContext{.model = *model, .shell = shell, .dialogs = dialogs, .now = [this] { return clock; }});
    }
};

}  // namespace kestrix::views::testing
