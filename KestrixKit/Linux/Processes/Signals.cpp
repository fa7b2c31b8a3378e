#include "KestrixKit/Linux/Processes/Signals.h"

#include <cerrno>
#include <csignal>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "KestrixKit/Linux/Processes/ProcfsFiles.h"
#include "KestrixKit/Linux/Processes/ProcfsParsing.h"

namespace kestrix::Signals {

bool terminate(pid_t pid) {
    if (pid < 2 || pid == getpid()) return false;
    return kill(pid, SIGTERM) == 0;
}

bool isRunning(pid_t pid) {
    if (pid < 1) return false;
    if (kill(pid, 0) != 0 && errno != EPERM) return false;
    // An exited process stays in the table until its parent reaps it: it holds nothing any more.
    const std::optional<std::string> stat = procfs::readText(AT_FDCWD, ("/proc/" + std::to_string(pid) + "/stat").c_str());
    const std::optional<char> state = stat ? procfs::parseStatState(*stat) : std::nullopt;
    return state != 'Z' && state != 'X';
}

}  // namespace kestrix::Signals
