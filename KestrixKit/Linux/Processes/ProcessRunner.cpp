#include "KestrixKit/Linux/Processes/ProcessRunner.h"

#include <cerrno>
#include <fcntl.h>
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

std::string readToEnd(int fd) {
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0) {
            bytes.append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0 || errno != EINTR) {
            return bytes;
        }
    }
}

std::int32_t exitStatusOf(int waitStatus) {
    if (WIFEXITED(waitStatus)) return WEXITSTATUS(waitStatus);
    if (WIFSIGNALED(waitStatus)) return 128 + WTERMSIG(waitStatus);
    return -1;
}

}  // namespace

std::optional<CommandOutput> run(const std::string& executable, const std::vector<std::string>& arguments) {
    int ends[2];
    // Close-on-exec keeps both ends out of the child except as the two dup'ed streams.
    if (pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
    filesupport::OwnedDescriptor readEnd(ends[0]);
    filesupport::OwnedDescriptor writeEnd(ends[1]);

    FileActions actions;
    if (!actions.attach(writeEnd.get())) return std::nullopt;
    std::vector<std::string> words{executable};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t child = 0;
    if (posix_spawn(&child, executable.c_str(), actions.get(), nullptr, argv.data(), environ) != 0) return std::nullopt;
    // Only the child may hold the writing end, so that the read below ends when the child exits.
    writeEnd.close();
    const std::string bytes = readToEnd(readEnd.get());

    int waitStatus = 0;
    while (waitpid(child, &waitStatus, 0) < 0) {
        if (errno != EINTR) return CommandOutput{.exitStatus = -1, .output = text::validUTF8(bytes)};
    }
    return CommandOutput{.exitStatus = exitStatusOf(waitStatus), .output = text::validUTF8(bytes)};
}

TimeMachineRunner timeMachineRunner(std::string executable) {
    return [executable = std::move(executable)](const std::vector<std::string>& arguments) {
        return run(executable, arguments);
    };
}

}  // namespace kestrix::ProcessRunner
