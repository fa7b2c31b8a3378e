#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace kestrix {
class AppModel;
}

namespace kestrix::shell {

// Carries out kestrix: links on the running model: eject one drive or all of them, check one
// and show it, or show the main window.
class LinkHandler {
public:
    LinkHandler(AppModel& model, std::function<void(const QString& windowId)> openWindow,
                std::function<void(const QString& text)> toast);

    // Each link in order; links that are no command are ignored. The ejects run on their own,
    // so a later link does not wait for an earlier one.
    void handle(const std::vector<std::string>& links);

private:
    AppModel& model_;
    std::function<void(const QString&)> openWindow_;
    std::function<void(const QString&)> toast_;
};

}  // namespace kestrix::shell
