#include "KestrixApp/TestSupport/ServerProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>

#include "KestrixApp/TestSupport/Waiting.h"

namespace kestrix::desktop::test {
namespace {

constexpr int startMilliseconds = 10'000;

std::optional<std::string> readLine(int descriptor) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(startMilliseconds);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd readable{.fd = descriptor, .events = POLLIN, .revents = 0};
        if (poll(&readable, 1, 100) <= 0) continue;
        char character = 0;
        if (read(descriptor, &character, 1) != 1) return std::nullopt;
        if (character == '\n') return line;
        line.push_back(character);
    }
    return std::nullopt;
}

}  // namespace

ServerProcess::ServerProcess(const std::vector<std::string>& command) {
    std::vector<std::string> words = command;
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0);
        dup2(pipeEnds[1], STDOUT_FILENO);
        const int nowhere = open("/dev/null", O_WRONLY);
        if (nowhere >= 0) dup2(nowhere, STDERR_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    output_ = pipeEnds[0];
    if (pid_ > 0) firstLine_ = readLine(output_);
}

ServerProcess::~ServerProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        if (!waitUntil(2.0, [&] { return waitpid(pid_, nullptr, WNOHANG) == pid_; })) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    if (output_ >= 0) close(output_);
}

}  // namespace kestrix::desktop::test
