#include "KestrixKit/Tests/Support/ChildProcess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>

namespace kestrix::test {

ChildProcess::ChildProcess(std::vector<std::string> command, const std::string& folder) {
    // Built before the fork, so that the child allocates nothing.
    std::vector<char*> argv;
    for (std::string& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    start([&](int) {
        if (chdir(folder.c_str()) == 0) execv(argv[0], argv.data());
    });
}

ChildProcess::ChildProcess(const std::function<bool()>& prepare) {
    start([&](int ready) {
        if (!prepare()) _exit(1);
        [[maybe_unused]] const auto wrote = write(ready, "k", 1);
        for (;;) pause();
    });
}

ChildProcess::~ChildProcess() { end(); }

void ChildProcess::start(const std::function<void(int ready)>& body) {
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0);  // its own group, so that ending it also ends what it runs
        close(ready[0]);
        body(ready[1]);
        _exit(127);
    }
    close(ready[1]);
    char byte = 0;
    while (pid_ > 0 && read(ready[0], &byte, 1) < 0 && errno == EINTR) {
    }
    close(ready[0]);
    if (pid_ > 0) {
        waiter_ = std::thread([this] {
            waitpid(pid_, nullptr, 0);
            exited_ = true;
        });
    }
}

void ChildProcess::end() {
    if (!waiter_.joinable()) return;
    kill(-pid_, SIGKILL);
    waiter_.join();
}

bool ChildProcess::hasExited() const {
    for (int attempt = 0; attempt < 50 && !exited_; ++attempt) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return exited_;
}

}  // namespace kestrix::test
