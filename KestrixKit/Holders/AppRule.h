#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "KestrixKit/Holders/AppIdentity.h"

// Which processes are apps, however they were started: from a menu, by a launcher, or typed in
// a terminal. An app is asked to quit, never ended by a signal, and never stopped by default.
// The system layer gathers the clues; this rule alone weighs them, for the app and the command
// line alike.
namespace kestrix::AppRule {

struct AppClues {
    // The app the desktop started the process as, or within: its sandbox, its unit, its launch.
    // isRegular when it is the app's main process and the app is shown in menus.
    std::optional<AppIdentity> startedAs;
    // The installed app whose program (Exec or TryExec) the process runs, of an entry that runs no
    // terminal and starts no interpreter or shell. isRegular when the process is its main process
    // (its parent runs another program) and the app is shown in menus.
    std::optional<AppIdentity> runsProgramOf;
    // A top-level window of the display says it belongs to the process (_NET_WM_PID).
    bool ownsWindow = false;
    // A Unix socket of the process is connected to the session's display server (X11 or
    // Wayland): it draws windows, named or not.
    bool connectedToDisplay = false;
    // The desktop's launch names this very process (GIO_LAUNCHED_DESKTOP_FILE_PID), also without
    // an entry it names (`gio launch` of GLib 2.74 leaves the pid alone).
    bool launched = false;
    // Its parent is a shell: a command typed in a terminal, which belongs to no app the
    // terminal's launch or unit names.
    bool startedByShell = false;
    // The process's own name, for an app known by nothing else.
    std::string processName;
};

// The app the process is, or belongs to as a helper (isRegular false); absent when it is neither.
std::optional<AppIdentity> identify(const AppClues& clues);

// Programs that run other programs: an entry that starts one ("sh -c …", "python3 app.py") says
// nothing about a process running it.
bool isInterpreterOrShell(std::string_view program);

}  // namespace kestrix::AppRule
