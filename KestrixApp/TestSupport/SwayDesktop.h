#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
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

// Where a window shows, in the output's pixels.
struct SwayArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool contains(const SwayArea& other) const {
        return other.x >= x && other.y >= y && other.x + other.width <= x + width &&
               other.y + other.height <= y + height;
    }
};

// A window as sway lists it: its title, and the area it takes, title bar and borders included.
struct SwayWindow {
    long long id = 0;  // sway's, for as long as the window shows
    std::string title;
    SwayArea area;
};

// Whether sway shows its bar, swaybar, with a tray (a StatusNotifierItem host on the session bus).
enum class SwayBar { none, withTray };

// A headless sway, as an ordinary user, on a runtime folder of its own and the given session
// bus; its apps are native Wayland clients. Stopped by its pid when this goes.
class SwayDesktop {
public:
    // size: the output's, such as "1024x640".
    SwayDesktop(DesktopUser user, const std::string& busAddress, const std::string& size = "1024x640",
                SwayBar bar = SwayBar::none);
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
    // The windows the process shows, tiled and floating; popups are no windows of sway's.
    std::vector<SwayWindow> shownWindowsOf(pid_t pid) const;
    // The part of the output that windows get: the bar takes the rest.
    std::optional<SwayArea> workArea() const;
    // Gives the keyboard to the window whose title matches (a pattern of sway's: plain words match
    // themselves); whether sway found it.
    bool focus(const std::string& title) const;
    // Presses the keys (xkb names, such as "Tab" or "space") one after the other in the focused
    // window, once the app has had a moment to take the new keyboard; whether they were pressed.
    bool press(const std::vector<std::string>& keys) const;
    // The whole output as a PNG file at the path, which the user may write; whether it was taken.
    bool takePicture(const std::string& path) const;

private:
    std::string ipcSocket() const;
    std::string tree() const;
    bool runAsUser(const std::vector<std::string>& words) const;

    DesktopUser user_;
    std::string busAddress_;
    std::string runtimeFolder_;
    std::string display_;
    std::unique_ptr<kestrix::test::ChildProcess> sway_;
    std::string problem_;
};

}  // namespace kestrix::desktop::test
