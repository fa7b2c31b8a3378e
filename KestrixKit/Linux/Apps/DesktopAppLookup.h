#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Holders/AppIdentity.h"
#include "KestrixKit/Linux/Apps/DesktopEntryCatalog.h"
#include "KestrixKit/Linux/Files/HistoryLocation.h"

namespace kestrix {

// Which desktop app a process belongs to, by what the desktop left with it: a Flatpak
// sandbox's /.flatpak-info, the systemd unit the desktop started the app in, or the launch
// variables in its environment (read for the user's own processes only). The app is named
// by its desktop entry: bundleID is the entry's id and bundlePath its file.
class DesktopAppLookup {
public:
    struct Places {
        std::string procRoot = "/proc";
        // Where the unified cgroup hierarchy is mounted, on a pure and on a hybrid system.
        std::vector<std::string> cgroupRoots = {"/sys/fs/cgroup", "/sys/fs/cgroup/unified"};
    };

    DesktopAppLookup(const EnvironmentLookup& environment, std::uint32_t ownUID, Places places);

    std::optional<AppIdentity> identify(std::int32_t pid) const;

private:
    std::string processPath(std::int32_t pid, const char* entry) const;
    std::optional<std::int32_t> unitLeader(const std::string& cgroupPath) const;
    std::optional<std::string> executable(std::int32_t pid) const;

    DesktopEntryCatalog catalog_;
    std::uint32_t ownUID_;
    Places places_;
};

// The app lookup of this machine for the user with this uid, with a catalog of its own:
// make one per scan, or per short-lived command.
std::function<std::optional<AppIdentity>(std::int32_t)> desktopAppLookup(std::uint32_t ownUID);

}  // namespace kestrix
