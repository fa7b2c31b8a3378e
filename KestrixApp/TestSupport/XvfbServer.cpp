#include "KestrixApp/TestSupport/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace kestrix::test {

XvfbServer::XvfbServer() {
    if (::access("/usr/bin/Xvfb", X_OK) != 0) {
        skipReason_ = "Xvfb is not installed";
        return;
    }
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        skipReason_ = "no pipe for Xvfb's display number";
        return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(pipe[1], 3);  // -displayfd writes the display number it picked
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipe[1]);
    std::string number;
    pollfd readable{pipe[0], POLLIN, 0};
    char c = 0;
    while (::poll(&readable, 1, 10000) == 1 && ::read(pipe[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(pipe[0]);
    if (pid_ < 0 || number.empty()) {
        skipReason_ = "Xvfb did not start";
        return;
    }
    display_ = ":" + number;
}

XvfbServer::~XvfbServer() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

}  // namespace kestrix::test
