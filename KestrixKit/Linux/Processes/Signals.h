#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>

#include "KestrixKit/Holders/EndSignal.h"
#include "KestrixKit/Holders/ProcessIdentity.h"

// The signal operations used on other processes. Each acts on one process for its whole life
// (a pid and its start time): a process that exited and whose pid another one took is gone, and
// is never signalled.
namespace kestrix::Signals {

// When the process with this pid started, in clock ticks after boot (/proc/PID/stat field 22);
// absent when there is no such process, or it has exited and waits for its parent.
std::optional<std::uint64_t> startTime(pid_t pid);

// A descriptor for the process with the pid now (a pidfd, Linux 5.3), readable once it exits;
// -1 with errno set where there is none (ENOSYS: the kernel has no pidfds).
int openDescriptor(pid_t pid);

// Sends SIGTERM to that process only; never to pid 0 or 1 or to this program, nor to a process
// whose start time is unknown. True when the signal was delivered.
bool terminate(const ProcessIdentity& process);

// Sends the signal that ends a program: SIGTERM, or SIGHUP (what closing a terminal sends),
// under the same rules as terminate.
bool end(const ProcessIdentity& process, EndSignal signal);

// Whether that process exists and has not exited, including one of another user. A zombie
// (exited, not yet reaped by its parent) is not running; neither is another process that took
// the pid since.
bool isRunning(const ProcessIdentity& process);

}  // namespace kestrix::Signals
