#include "KestrixApp/TestSupport/X11Desktop.h"

#include <xcb/xcb_ewmh.h>

#include <algorithm>
#include <unistd.h>

#include "KestrixApp/TestSupport/Waiting.h"
#include "KestrixKit/Linux/Windows/X11Windows.h"

namespace kestrix::desktop::test {
namespace {

// A connection with the EWMH atoms, for one question.
struct EwmhConnection {
    explicit EwmhConnection(const std::string& display) {
        connection = xcb_connect(display.c_str(), &screen);
        if (xcb_connection_has_error(connection)) return;
        ready = xcb_ewmh_init_atoms_replies(&ewmh, xcb_ewmh_init_atoms(connection, &ewmh), nullptr) != 0;
    }
    ~EwmhConnection() {
        if (ready) xcb_ewmh_connection_wipe(&ewmh);
        xcb_disconnect(connection);
    }
    xcb_connection_t* connection = nullptr;
    xcb_ewmh_connection_t ewmh{};
    int screen = 0;
    bool ready = false;
};

}  // namespace

X11Desktop::X11Desktop(const std::string& size) {
    if (access("/usr/bin/Xvfb", X_OK) != 0 || access("/usr/bin/openbox", X_OK) != 0) {
        problem_ = "Xvfb or openbox is not installed";
        return;
    }
    // Without -noreset the server starts afresh whenever its last client leaves, turning away
    // the clients that connect meanwhile.
    server_ = std::make_unique<ServerProcess>(
        std::vector<std::string>{"/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0", size + "x24", "-noreset"});
    if (!server_->firstLine()) {
        problem_ = "Xvfb did not start";
        return;
    }
    display_ = ":" + *server_->firstLine();
    windowManager_ = std::make_unique<kestrix::test::ChildProcess>(
        std::vector<std::string>{"/usr/bin/env", "DISPLAY=" + display_, "/usr/bin/openbox", "--sm-disable"});
    // Ready once it manages new windows: it announces itself a little before that.
    if (!waitUntil(20.0, [&] { return managesAProbeWindow(); })) problem_ = "openbox did not start on " + display_;
}

bool X11Desktop::managesAProbeWindow() const {
    EwmhConnection x11(display_);
    if (!x11.ready) return false;
    const xcb_window_t probe = xcb_generate_id(x11.connection);
    xcb_create_window(x11.connection, XCB_COPY_FROM_PARENT, probe, x11.ewmh.screens[x11.screen]->root, 0, 0, 10, 10, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_map_window(x11.connection, probe);
    xcb_flush(x11.connection);
    return waitUntil(1.0, [&] {
        const std::vector<TopLevelWindow> windows = X11Windows(display_).topLevelWindows();
        return std::any_of(windows.begin(), windows.end(), [&](const TopLevelWindow& window) { return window.id == probe; });
    });
}

std::optional<std::uint32_t> X11Desktop::activeWindow() const {
    EwmhConnection x11(display_);
    xcb_window_t active = XCB_NONE;
    if (!x11.ready || xcb_ewmh_get_active_window_reply(&x11.ewmh, xcb_ewmh_get_active_window(&x11.ewmh, x11.screen),
                                                       &active, nullptr) == 0 ||
        active == XCB_NONE) {
        return std::nullopt;
    }
    return active;
}

std::optional<std::uint32_t> X11Desktop::waitForWindowOf(std::int32_t pid) const {
    std::optional<std::uint32_t> found;
    waitUntil(5.0, [&] {
        const std::vector<TopLevelWindow> windows = X11Windows(display_).topLevelWindows();
        const auto newest = std::find_if(windows.rbegin(), windows.rend(),
                                         [&](const TopLevelWindow& window) { return window.pid == pid; });
        if (newest != windows.rend()) found = newest->id;
        return found.has_value();
    });
    return found;
}

}  // namespace kestrix::desktop::test
