#include "KestrixKit/Linux/Processes/ProcessRunner.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Text/ValidUTF8.h"

extern char** environ;

namespace kestrix::ProcessRunner {
namespace {

class FileActions {
public:
    FileActions() { ok_ = posix_spawn_file_actions_init(&actions_) == 0; }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    ~FileActions() {
        if (ok_) posix_spawn_file_actions_destroy(&actions_);
    }
    // Standard input from /dev/null, standard output and error into the pipe's writing end.
    bool attach(int writeEnd) {
        return ok_ && posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0 &&
               posix_spawn_file_actions_adddup2(&actions_, writeEnd, STDOUT_FILENO) == 0 &&
               posix_spawn_file_actions_adddup2(&actions_, writeEnd, STDERR_FILENO) == 0;
    }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
    bool ok_ = false;
};

class SpawnAttributes {
public:
    SpawnAttributes() { ok_ = posix_spawnattr_init(&attributes_) == 0; }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    ~SpawnAttributes() {
        if (ok_) posix_spawnattr_destroy(&attributes_);
    }
    // A process group of its own, so that ending the tool ends whatever it started, too.
    bool ownProcessGroup() {
        return ok_ && posix_spawnattr_setpgroup(&attributes_, 0) == 0 &&
               posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETPGROUP) == 0;
    }
    const posix_spawnattr_t* get() const { return &attributes_; }

private:
    posix_spawnattr_t attributes_{};
    bool ok_ = false;
};

// Reads until the pipe's end, or until the deadline; false when the deadline came first.
bool readToEnd(int fd, std::chrono::steady_clock::time_point deadline, std::string& bytes) {
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd waiting{.fd = fd, .events = POLLIN, .revents = 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(std::min<std::int64_t>(left.count(), 60'000)));
        if (ready < 0 && errno != EINTR) return true;
        if (ready <= 0) continue;
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0) {
            bytes.append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0 || errno != EINTR) {
            return true;
        }
    }
}

// Ends the tool and everything it started (its process group): SIGTERM, a moment's grace, then
// SIGKILL; and reaps it.
void endTool(pid_t child) {
    ::kill(-child, SIGTERM);
    for (int tries = 0; tries < 20; ++tries) {
        if (::waitpid(child, nullptr, WNOHANG) == child) return;
        ::usleep(25'000);
    }
    ::kill(-child, SIGKILL);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

std::int32_t exitStatusOf(int waitStatus) {
    if (WIFEXITED(waitStatus)) return WEXITSTATUS(waitStatus);
    if (WIFSIGNALED(waitStatus)) return 128 + WTERMSIG(waitStatus);
    return -1;
}

}  // namespace

std::optional<CommandOutput> run(const std::string& executable, const std::vector<std::string>& arguments,
                                 std::chrono::milliseconds timeLimit) {
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    int ends[2];
    // Close-on-exec keeps both ends out of the child except as the two dup'ed streams.
    if (pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
    filesupport::OwnedDescriptor readEnd(ends[0]);
    filesupport::OwnedDescriptor writeEnd(ends[1]);

    FileActions actions;
    if (!actions.attach(writeEnd.get())) return std::nullopt;
    SpawnAttributes attributes;
    if (!attributes.ownProcessGroup()) return std::nullopt;
    std::vector<std::string> words{executable};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t child = 0;
    if (posix_spawn(&child, executable.c_str(), actions.get(), attributes.get(), argv.data(), environ) != 0) {
        return std::nullopt;
    }
    // Only the child may hold the writing end, so that the read below ends when the child exits.
    writeEnd.close();
    std::string bytes;
    if (!readToEnd(readEnd.get(), deadline, bytes)) {
        endTool(child);
        return std::nullopt;
    }

    int waitStatus = 0;
    while (waitpid(child, &waitStatus, 0) < 0) {
        if (errno != EINTR) return CommandOutput{.exitStatus = -1, .output = text::validUTF8(bytes)};
    }
    return CommandOutput{.exitStatus = exitStatusOf(waitStatus), .output = text::validUTF8(bytes)};
}

TimeMachineRunner timeMachineRunner(std::string executable, std::chrono::milliseconds timeLimit) {
    return [executable = std::move(executable), timeLimit](const std::vector<std::string>& arguments) {
        return run(executable, arguments, timeLimit);
    };
}

}  // namespace kestrix::ProcessRunner
