#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The systemd units a desktop starts its apps in, named after the app's desktop entry:
// app-[<launcher>-]<id>-<random>.scope, app-[<launcher>-]<id>[@<random>].service and a snap's
// snap.<name>.<app>-<uuid>.scope.
namespace kestrix::appcgroup {

// The unified hierarchy's path in the text of /proc/PID/cgroup (its "0::" line).
std::optional<std::string> unifiedPath(std::string_view cgroupFile);

struct AppUnit {
    // The desktop entry ids the unit's name can stand for, most likely first.
    std::vector<std::string> desktopIDs;
    // The unit's own cgroup: the path up to and including the unit.
    std::string cgroupPath;

    bool operator==(const AppUnit&) const = default;
};

// The innermost app unit on a cgroup path, if the process runs in one.
std::optional<AppUnit> appUnit(std::string_view cgroupPath);

// The desktop entry ids a unit name stands for; empty for a unit that is no app's.
std::vector<std::string> desktopIDs(std::string_view unitName);

// The lowest pid listed in a cgroup.procs file: the unit's first process.
std::optional<std::int32_t> lowestPID(std::string_view procsFile);

}  // namespace kestrix::appcgroup
