#include "kestrixctl/PasswordPrompt.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "KestrixKit/Text/Localized.h"

namespace kestrixctl {
namespace {

// Runs pkttyagent for this process and waits until it has registered with polkit: it closes the
// notification descriptor then, or by exiting. The agent's pid while it runs; -1 otherwise. (With
// --fallback, polkit would not ask it for this process.)
pid_t runTextAgent() {
    int notify[2];
    if (pipe2(notify, O_CLOEXEC) != 0) return -1;
    const std::vector<std::string> words{"pkttyagent", "--notify-fd", std::to_string(notify[1]), "--process",
                                         std::to_string(getpid())};
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        // Only the notification descriptor crosses into the agent.
        fcntl(notify[1], F_SETFD, 0);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(notify[1]);
    if (pid < 0) {
        close(notify[0]);
        return -1;
    }
    char byte = 0;
    ssize_t got = 0;
    do {
        got = read(notify[0], &byte, 1);
    } while (got < 0 && errno == EINTR);
    close(notify[0]);
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != 0) return -1;
    return pid;
}

}  // namespace

PasswordPrompt::~PasswordPrompt() {
    if (agent_ <= 0) return;
    kill(agent_, SIGTERM);
    waitpid(agent_, nullptr, 0);
}

bool PasswordPrompt::startAgent() {
    wanted_ = true;
    if (!mayAsk_ || !inTerminal_ || agent_ > 0) return false;
    agent_ = runTextAgent();
    return agent_ > 0;
}

std::optional<std::string> PasswordPrompt::advice() const {
    if (!wanted_ || agent_ > 0) return std::nullopt;
    if (!mayAsk_) {
        return kestrix::localized("The system asked for a password, and --no-password kept kestrixctl from asking "
                                  "for it. Run the command again without --no-password in a terminal, or eject the "
                                  "drive from your desktop.");
    }
    if (inTerminal_) {
        return kestrix::localized("The system asked for a password, and polkit\u2019s text agent (pkttyagent) could "
                                  "not start to ask for it here. Eject the drive from your desktop, which asks for "
                                  "it in a window.");
    }
    return kestrix::localized("The system asked for a password. Run kestrixctl in a terminal to type it there, or "
                              "eject the drive from your desktop, which asks for it in a window.");
}

}  // namespace kestrixctl
