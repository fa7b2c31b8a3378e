#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

// The desktop entry a desktop launched a process from, as the launch left it in the
// process's environment. Children inherit it, so the pid tells the launched process apart.
struct DesktopLaunch {
    // GIO_LAUNCHED_DESKTOP_FILE: the entry file's absolute path.
    std::string desktopFile;
    // GIO_LAUNCHED_DESKTOP_FILE_PID: the launched process.
    std::int32_t pid = 0;

    bool operator==(const DesktopLaunch&) const = default;
};

// From the NUL-separated text of /proc/PID/environ; absent unless both variables are there and
// make sense (an absolute path, a positive pid).
std::optional<DesktopLaunch> parseDesktopLaunch(std::string_view environment);

// The process a desktop launched, by GIO_LAUNCHED_DESKTOP_FILE_PID alone: children inherit it,
// so only the process with that pid is the one launched.
std::optional<std::int32_t> launchedPID(std::string_view environment);

// The Flatpak app id in the text of a sandbox's /.flatpak-info ([Application] name=…).
std::optional<std::string> flatpakAppID(std::string_view flatpakInfo);

}  // namespace kestrix
