#pragma once

#include <optional>
#include <string>

#include "KestrixKit/Holders/AppReach.h"

namespace kestrix {

// What the desktop knows about a running application.
struct AppIdentity {
    std::string name;
    std::optional<std::string> bundleID;
    // An ordinary app with a window and a dock or task-bar entry.
    bool isRegular = false;
    // Where the app lives when the desktop says so (its bundle, or its desktop entry file): the
    // holder's appBundlePath, through which a helper process is handled as its app. Coded only
    // as the holder's appBundlePath.
    std::optional<std::string> bundlePath;
    // Absent where the desktop was not asked (a simulated system, the command line): both then
    // count as possible.
    std::optional<AppReach> reach;

    bool canBeAskedToQuit() const { return !reach || reach->canAskToQuit; }
    bool canBeShown() const { return !reach || reach->canShow; }

    bool operator==(const AppIdentity&) const = default;
};

}  // namespace kestrix
