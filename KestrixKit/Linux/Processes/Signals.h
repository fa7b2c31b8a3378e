#pragma once

#include <sys/types.h>

// The two signal operations used on other processes. Only SIGTERM is ever sent.
namespace kestrix::Signals {

// Sends SIGTERM; never to pid 0 or 1 or to this program. True when the signal was delivered.
bool terminate(pid_t pid);

// Whether a process with this pid exists, including one of another user.
bool isRunning(pid_t pid);

}  // namespace kestrix::Signals
