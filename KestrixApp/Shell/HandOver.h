#pragma once

#include <optional>
#include <ostream>
#include <functional>

#include <QDBusConnection>

#include "KestrixApp/Shell/ActionStatus.h"
#include "KestrixApp/Shell/ShellOptions.h"

namespace kestrix::shell {

// A start of the app while another one runs: hands it the links (or asks it to show itself)
// and says how that went; nothing when no other Kestrix holds the bus name, and this start is
// the app. It needs no display, so that a link from cron, ssh or a udev rule still arrives.
//
// A link is handed over with a call that returns at once: a busy app that has not answered yet
// has the link and carries it out when it can. From a terminal, an eject link runs as
// `--action` does instead: its sentence is printed and the status tells how it went.
// `--action`, or the hand-over of a start's links, over a session bus connection of its own
// made without an application object; nothing when this start is to be the app. A status means
// the process is done: end it with exitWith.
std::optional<ActionStatus> talkToRunningApp(const ShellOptions& options);

// Ends the process with that status once the output is written. Static objects are not torn
// down: Qt's D-Bus thread may still be reading the bus while they would be.
[[noreturn]] void exitWith(ActionStatus status);

std::optional<ActionStatus> handOver(const ShellOptions& options, QDBusConnection bus, bool fromTerminal,
                                     std::ostream& out, std::ostream& err,
                                     const std::function<void(double seconds)>& sleep);

}  // namespace kestrix::shell
