#pragma once

#include <cstdint>

namespace kestrix {

// A window the window manager lists as an application's top-level window.
struct TopLevelWindow {
    std::uint32_t id = 0;
    // The process that says it owns the window (_NET_WM_PID); 0 when it does not say.
    std::int32_t pid = 0;
    // It accepts a polite close request (WM_DELETE_WINDOW among its WM_PROTOCOLS).
    bool acceptsClose = false;
    // It has an entry in the task bar (no _NET_WM_STATE_SKIP_TASKBAR).
    bool onTaskBar = true;

    bool operator==(const TopLevelWindow&) const = default;
};

}  // namespace kestrix
