#pragma once

#include <sys/types.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace kestrix::test {

// A child process in a process group of its own, ended with everything it started when the test
// is done. A waiter reaps it as soon as it exits, so that a process ended by the code under test
// is really gone.
class ChildProcess {
public:
    // Runs the command (program path first) in folder; returns once the program runs.
    explicit ChildProcess(std::vector<std::string> command, const std::string& folder = "/");
    // Runs prepare in the child, which then waits to be ended; returns once prepare is done.
    // A child whose preparation fails exits at once.
    explicit ChildProcess(const std::function<bool()>& prepare);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    pid_t pid() const { return pid_; }
    // Kills the whole group and reaps the child.
    void end();
    // Whether the child is gone, given a second to go.
    bool hasExited() const;

private:
    // body runs in the child with the write end of a pipe the parent waits on: one byte, or the
    // pipe closing on exec or exit, means the child is ready.
    void start(const std::function<void(int ready)>& body);

    pid_t pid_ = -1;
    std::atomic<bool> exited_ = false;
    std::thread waiter_;
};

}  // namespace kestrix::test
