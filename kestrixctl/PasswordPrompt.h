#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace kestrixctl {

// What kestrixctl does when the disk service would take a password that nothing can ask for: in
// a terminal it starts polkit's text agent (pkttyagent) for this process, which asks there;
// elsewhere, or with --no-password, it remembers that permission was wanted, so that the user
// hears how to give it.
class PasswordPrompt {
public:
    PasswordPrompt(bool mayAsk, bool inTerminal) : mayAsk_(mayAsk), inTerminal_(inTerminal) {}
    PasswordPrompt(const PasswordPrompt&) = delete;
    PasswordPrompt& operator=(const PasswordPrompt&) = delete;
    // Ends the agent it started, by its pid.
    ~PasswordPrompt();

    // false: the disk service is told never to ask (--no-password).
    bool mayAsk() const { return mayAsk_; }
    // Whether an agent now asks for this process; an agent that already runs gives no second chance.
    bool startAgent();
    // How to give the permission that was wanted and not asked for; nothing otherwise.
    std::optional<std::string> advice() const;

private:
    bool mayAsk_;
    bool inTerminal_;
    bool wanted_ = false;
    pid_t agent_ = -1;
};

}  // namespace kestrixctl
