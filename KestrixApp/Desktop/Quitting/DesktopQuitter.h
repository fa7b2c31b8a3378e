#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>

#include "KestrixApp/Desktop/Quitting/SessionBusApps.h"
#include "KestrixKit/Flow/HolderQuitting.h"
#include "KestrixKit/Flow/RunningApp.h"
#include "KestrixKit/Holders/AppReach.h"
#include "KestrixKit/Linux/Processes/SignalQuitter.h"

namespace kestrix {
class X11Windows;
}

namespace kestrix::desktop {

// Quits apps the way choosing Quit in them does, never with a signal: through a quit route on
// the session bus that the app's own process owns (a GApplication's "quit" action, a KDE app's
// /MainApplication), else by closing its X11 windows as their close buttons do. Where the desktop
// offers none (a Wayland session, for an app without a bus route) the app is not asked: reach()
// says so, and the user is told to close it. Show raises an X11 window as a task bar does and
// never asks the app to activate itself, which opens a new window in many apps. Command-line
// programs are ended as on the command line. Every operation opens what it talks to afresh, so
// any thread may call it.
class DesktopQuitter : public HolderQuitting {
public:
    // display: the X display whose windows are closed and raised, absent where there is none.
    DesktopQuitter(std::optional<std::string> display, QDBusConnection sessionBus, pid_t ownPID);
    // The quitter of this session: $DISPLAY, the session bus and this process.
    static std::shared_ptr<DesktopQuitter> forThisSession();

    bool quitApp(const Holder& holder) override;
    void showApp(const Holder& holder) override;
    bool endProcess(const ProcessIdentity& process, EndSignal signal) override;
    bool isAlive(const ProcessIdentity& process) override;

    // Whether the process can be asked to quit and its window raised.
    AppReach reach(pid_t pid) const;

    // The regular app that stands for a holder: the holder's process when it shows a window in
    // the task bar or the holder's app identity says it is an app.
    std::optional<RunningApp> runningApp(const Holder& holder) const;

private:
    // A connection of its own to the display, for one operation.
    std::unique_ptr<X11Windows> x11() const;

    std::optional<std::string> display_;
    SessionBusApps sessionBus_;
    pid_t ownPID_;
    kestrix::SignalQuitter processes_;
};

}  // namespace kestrix::desktop
