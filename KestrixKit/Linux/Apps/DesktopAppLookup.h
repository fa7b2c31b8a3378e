#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "KestrixKit/Holders/AppIdentity.h"
#include "KestrixKit/Linux/Apps/AppCgroup.h"
#include "KestrixKit/Linux/Apps/LaunchEnvironment.h"
#include "KestrixKit/Linux/Apps/DesktopEntryCatalog.h"
#include "KestrixKit/Linux/Files/HistoryLocation.h"

namespace kestrix {

// The processes that own a top-level window of the display, where there is one.
using WindowOwners = std::function<std::set<std::int32_t>()>;

// What the session's display tells about processes; each is empty where there is no display.
struct DisplayClues {
    WindowOwners windowOwners;
    // Whether the process is connected to the session's display server.
    std::function<bool(std::int32_t)> connectedToDisplay;
};

// Which desktop app a process is or belongs to, by what the desktop left with it: a Flatpak
// sandbox's /.flatpak-info, the systemd unit the desktop started the app in, or the launch
// variables in its environment (read for the user's own processes only); and, however it was
// started, by the installed app whose program it runs and by the windows it owns (AppRule weighs
// these). An app with an entry is named by it: bundleID is the entry's id and bundlePath its file.
class DesktopAppLookup {
public:
    struct Places {
        std::string procRoot = "/proc";
        // Where the unified cgroup hierarchy is mounted, on a pure and on a hybrid system.
        std::vector<std::string> cgroupRoots = {"/sys/fs/cgroup", "/sys/fs/cgroup/unified"};
    };

    DesktopAppLookup(const EnvironmentLookup& environment, std::uint32_t ownUID, Places places,
                     DisplayClues display = {});

    std::optional<AppIdentity> identify(std::int32_t pid) const;

private:
    std::string processPath(std::int32_t pid, const char* entry) const;
    // The app the desktop started the process as or within, by its sandbox, unit or launch.
    std::optional<AppIdentity> startedAs(std::int32_t pid, const std::optional<std::string>& flatpakID,
                                         const std::optional<appcgroup::AppUnit>& unit,
                                         const std::optional<DesktopLaunch>& launch,
                                         const std::optional<std::string>& ownExecutable,
                                         const std::optional<std::string>& parentExecutable) const;
    // The name it was started by, as the holder scanner gives it.
    std::string processName(std::int32_t pid, const std::string& commandName,
                            const std::optional<std::string>& ownExecutable) const;
    std::optional<std::int32_t> unitLeader(const std::string& cgroupPath) const;
    std::optional<std::string> executable(std::int32_t pid) const;

    DesktopEntryCatalog catalog_;
    std::uint32_t ownUID_;
    Places places_;
    DisplayClues display_;
};

// The app lookup of this machine for the user with this uid, with a catalog of its own:
// make one per scan, or per short-lived command.
std::function<std::optional<AppIdentity>(std::int32_t)> desktopAppLookup(std::uint32_t ownUID, DisplayClues display = {});

}  // namespace kestrix
