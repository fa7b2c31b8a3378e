#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrix::desktop::test {

// A server a test starts that prints where it can be reached as its first line of output
// (Xvfb -displayfd 1, dbus-daemon --print-address=1). Stopped by its pid when this goes.
class ServerProcess {
public:
    explicit ServerProcess(const std::vector<std::string>& command);
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;
    ~ServerProcess();

    // Absent when the server printed no line within ten seconds.
    const std::optional<std::string>& firstLine() const { return firstLine_; }

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::optional<std::string> firstLine_;
};

}  // namespace kestrix::desktop::test
