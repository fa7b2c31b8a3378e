#pragma once

#include <sys/types.h>

// The two signal operations used on other processes. Only SIGTERM is ever sent.
namespace kestrix::Signals {

// Sends SIGTERM; never to pid 0 or 1 or to this program. True when the signal was delivered.
bool terminate(pid_t pid);

// Whether a process with this pid exists and has not exited, including one of another user. A
// zombie (exited, not yet reaped by its parent) is not running.
bool isRunning(pid_t pid);

}  // namespace kestrix::Signals
