#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

namespace kestrix {

// The processes that own a top-level window of the X display (_NET_WM_PID of the windows the
// window manager lists), read afresh at most once a second however often it is asked: one scan
// asks once per holder. Empty while the display cannot be reached. Safe to call from any thread.
std::function<std::set<std::int32_t>()> x11WindowOwners(std::string display);

// The display this program was started on ($DISPLAY), absent where there is none.
std::optional<std::string> environmentDisplay();

}  // namespace kestrix
