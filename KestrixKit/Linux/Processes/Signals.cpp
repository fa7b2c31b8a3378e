#include "KestrixKit/Linux/Processes/Signals.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace kestrix::Signals {

bool terminate(pid_t pid) {
    if (pid < 2 || pid == getpid()) return false;
    return kill(pid, SIGTERM) == 0;
}

bool isRunning(pid_t pid) {
    if (pid < 1) return false;
    if (kill(pid, 0) == 0) return true;
    return errno == EPERM;
}

}  // namespace kestrix::Signals
