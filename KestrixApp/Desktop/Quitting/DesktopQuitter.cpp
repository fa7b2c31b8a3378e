#include "KestrixApp/Desktop/Quitting/DesktopQuitter.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "KestrixKit/Linux/Windows/X11Windows.h"
#include "KestrixKit/Flow/RunningAppRule.h"

namespace kestrix::desktop {
namespace {

// The processes with a window in the task bar, in the window manager's order, and the holder's
// own process described by what the scanner learnt about it. Where no window can be seen (Wayland),
// the holder's app identity alone makes it an app.
std::vector<RunningApp> runningApps(const Holder& holder, const std::vector<TopLevelWindow>& windows) {
    std::vector<RunningApp> apps;
    const auto find = [&](std::int32_t pid) {
        return std::find_if(apps.begin(), apps.end(), [&](const RunningApp& app) { return app.pid == pid; });
    };
    for (const TopLevelWindow& window : windows) {
        if (window.pid > 0 && window.onTaskBar && find(window.pid) == apps.end()) {
            apps.push_back(RunningApp{.pid = window.pid, .isRegular = true});
        }
    }
    if (holder.pid <= 0) return apps;
    auto own = find(holder.pid);
    if (own == apps.end()) own = apps.insert(apps.end(), RunningApp{.pid = holder.pid});
    if (holder.app) {
        own->localizedName = holder.app->name;
        own->bundleID = holder.app->bundleID;
        own->isRegular = own->isRegular || holder.app->isRegular;
    }
    return apps;
}

const std::vector<TopLevelWindow> noWindows;

bool hasWindow(const std::vector<TopLevelWindow>& windows, std::int32_t pid, bool closable) {
    return std::any_of(windows.begin(), windows.end(), [&](const TopLevelWindow& window) {
        return window.pid == pid && (!closable || window.acceptsClose);
    });
}

}  // namespace

DesktopQuitter::DesktopQuitter(std::optional<std::string> display, QDBusConnection sessionBus, pid_t ownPID)
    : display_(std::move(display)), sessionBus_(std::move(sessionBus)), ownPID_(ownPID) {}

std::shared_ptr<DesktopQuitter> DesktopQuitter::forThisSession() {
    const char* display = std::getenv("DISPLAY");
    return std::make_shared<DesktopQuitter>(
        display != nullptr && *display != '\0' ? std::optional<std::string>(display) : std::nullopt,
        QDBusConnection::sessionBus(), getpid());
}

std::unique_ptr<X11Windows> DesktopQuitter::x11() const {
    if (!display_) return nullptr;
    return std::make_unique<X11Windows>(*display_);
}

std::optional<RunningApp> DesktopQuitter::runningApp(const Holder& holder) const {
    const std::unique_ptr<X11Windows> x11 = this->x11();
    return RunningAppRule::runningApp(holder, runningApps(holder, x11 ? x11->topLevelWindows() : noWindows));
}

AppReach DesktopQuitter::reach(pid_t pid) const {
    const std::unique_ptr<X11Windows> x11 = this->x11();
    const std::vector<TopLevelWindow> listed = x11 ? x11->topLevelWindows() : noWindows;
    return AppReach{.canAskToQuit = hasWindow(listed, pid, true) || sessionBus_.quitRoute(pid).has_value(),
                    .canShow = hasWindow(listed, pid, false)};
}

bool DesktopQuitter::quitApp(const Holder& holder) {
    const std::unique_ptr<X11Windows> x11 = this->x11();
    const std::vector<TopLevelWindow> listed = x11 ? x11->topLevelWindows() : noWindows;
    const std::optional<RunningApp> app = RunningAppRule::runningApp(holder, runningApps(holder, listed));
    // The program never quits itself; a holder that is gone (its pid perhaps another process's
    // now, windows and all) is not asked.
    if (!app || app->pid == ownPID_ || !processes_.isAlive(holder.identity())) return false;
    if (const std::optional<BusQuitRoute> route = sessionBus_.quitRoute(app->pid)) {
        if (sessionBus_.quit(*route, app->pid)) return true;
    }
    bool asked = false;
    for (const TopLevelWindow& window : listed) {
        if (window.pid == app->pid && window.acceptsClose) asked = x11->askToClose(window.id) || asked;
    }
    return asked;
}

void DesktopQuitter::showApp(const Holder& holder) {
    const std::unique_ptr<X11Windows> x11 = this->x11();
    const std::vector<TopLevelWindow> listed = x11 ? x11->topLevelWindows() : noWindows;
    const std::optional<RunningApp> app = RunningAppRule::runningApp(holder, runningApps(holder, listed));
    if (!app || !processes_.isAlive(holder.identity())) return;
    const auto newest = std::find_if(listed.rbegin(), listed.rend(),
                                     [&](const TopLevelWindow& window) { return window.pid == app->pid; });
    if (newest != listed.rend()) x11->activate(newest->id);
}

bool DesktopQuitter::endProcess(const ProcessIdentity& process, EndSignal signal) {
    return processes_.endProcess(process, signal);
}

bool DesktopQuitter::isAlive(const ProcessIdentity& process) { return processes_.isAlive(process); }

}  // namespace kestrix::desktop
