#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Linux/Windows/TopLevelWindow.h"

namespace kestrix {

// The application windows of an X display, through a connection of its own: xcb connections may
// be used from any thread, so this works off the UI thread, and also reaches the X11 apps of a
// Wayland session through its X server when one runs. xcb is the X protocol's own client
// library, no toolkit: the command-line tool reads the windows through it too.
class X11Windows {
public:
    // A display that cannot be reached has no windows.
    explicit X11Windows(const std::string& display);
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;
    ~X11Windows();

    // In the window manager's order (_NET_CLIENT_LIST, oldest first). Windows of another machine
    // are left out: their process ids mean nothing here.
    std::vector<TopLevelWindow> topLevelWindows() const;
    // Sends WM_DELETE_WINDOW, as the window's close button does; true when it reached the window.
    bool askToClose(std::uint32_t window) const;
    // Asks the window manager to bring the window to the front, as a task bar does.
    void activate(std::uint32_t window) const;

private:
    TopLevelWindow describe(xcb_window_t window) const;
    bool isFromThisMachine(xcb_window_t window) const;
    std::optional<xcb_atom_t> atom(const char* name) const;

    xcb_connection_t* connection_ = nullptr;
    int screen_ = 0;
    // The ewmh helpers take it by non-const pointer, though they only read it.
    mutable std::optional<xcb_ewmh_connection_t> ewmh_;
    std::optional<xcb_atom_t> deleteWindow_;
};

}  // namespace kestrix
