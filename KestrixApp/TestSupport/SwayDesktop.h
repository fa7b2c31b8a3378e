#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "KestrixKit/Tests/Support/ChildProcess.h"

namespace kestrix::desktop::test {

// Who runs a Wayland desktop: sway refuses to run as root.
struct DesktopUser {
    uid_t uid = 0;
    gid_t gid = 0;
    std::string home;
};

// A headless sway, as an ordinary user, on a runtime folder of its own and the given session
// bus; its apps are native Wayland clients. Stopped by its pid when this goes.
class SwayDesktop {
public:
    // size: the output's, such as "1024x640".
    SwayDesktop(DesktopUser user, const std::string& busAddress, const std::string& size = "1024x640");
    SwayDesktop(const SwayDesktop&) = delete;
    SwayDesktop& operator=(const SwayDesktop&) = delete;
    ~SwayDesktop();

    // Why the desktop could not start; empty while it runs.
    const std::string& problem() const { return problem_; }
    // A program run as the user inside the session (its display, bus and runtime folder), with
    // the given variables (KEY=VALUE) too; the program's pid is the command's own.
    std::vector<std::string> command(const std::vector<std::string>& variables,
                                     const std::vector<std::string>& words) const;
    // The windows (dialogs included) the process shows, as sway lists them.
    int windowsOf(pid_t pid) const;
    // Types the text into the focused window, as the keyboard does; whether it was typed.
    bool type(const std::string& text) const;

private:
    std::string ipcSocket() const;

    DesktopUser user_;
    std::string busAddress_;
    std::string runtimeFolder_;
    std::string display_;
    std::unique_ptr<kestrix::test::ChildProcess> sway_;
    std::string problem_;
};

}  // namespace kestrix::desktop::test
