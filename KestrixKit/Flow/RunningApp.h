#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix {

// What the desktop reports about one running application.
struct RunningApp {
    std::int32_t pid = 0;
    std::optional<std::string> localizedName;
    std::optional<std::string> bundlePath;
    std::optional<std::string> bundleID;
    // An ordinary app with a window and a dock or task-bar entry.
    bool isRegular = false;

    bool operator==(const RunningApp&) const = default;
};

}  // namespace kestrix
