#pragma once

#include <QObject>
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

    // Each link in order, once the drives are listed; links that are no command are ignored.
    // The ejects run on their own, so a later link does not wait for an earlier one. Check
    // links that come in a burst are carried out together once the burst has been read: each
    // drive is checked once, and the drives page is shown once.
    void handle(const std::vector<std::string>& links);

private:
    void carryOut(const std::vector<std::string>& links);
    void askToCheck(const std::string& name);
    void checkAndShow();

    AppModel& model_;
    std::function<void(const QString&)> openWindow_;
    std::function<void(const QString&)> toast_;
    // The drive names of the check links not carried out yet, each once, in the order they came.
    std::vector<std::string> pendingChecks_;
    // Runs the pending checks once the events already queued have been handled; gone with this.
    QObject deferrer_;
};

}  // namespace kestrix::shell
