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

    bool operator==(const AppIdentity&) const = default;
};

}  // namespace kestrix
