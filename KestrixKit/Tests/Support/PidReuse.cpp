#include "KestrixKit/Tests/Support/PidReuse.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace kestrix::test {
namespace {

constexpr const char* lastPidFile = "/proc/sys/kernel/ns_last_pid";

bool setLastPid(pid_t pid) {
    const int file = open(lastPidFile, O_WRONLY | O_CLOEXEC);
    if (file < 0) return false;
    const std::string text = std::to_string(pid);
    const bool wrote = write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(file);
    return wrote;
}

}  // namespace

std::optional<std::string> pidReuseProblem() {
    if (geteuid() != 0) return "choosing a pid needs root";
    if (access(lastPidFile, W_OK) != 0) return std::string(lastPidFile) + " cannot be written here";
    return std::nullopt;
}

std::unique_ptr<ChildProcess> startWithPid(pid_t pid, const std::function<std::unique_ptr<ChildProcess>()>& start) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (!setLastPid(pid - 1)) return nullptr;
        std::unique_ptr<ChildProcess> child = start();
        if (child->pid() == pid) return child;
    }
    return nullptr;
}

}  // namespace kestrix::test
