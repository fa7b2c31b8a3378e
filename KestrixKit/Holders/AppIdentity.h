#pragma once

#include <optional>
#include <string>

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

    bool operator==(const AppIdentity&) const = default;
};

}  // namespace kestrix
