#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrix::desktop {

// Where a GApplication answers on the session bus: its application id as the bus name, and the
// id with dots turned into slashes (and dashes into underscores) as its object path.
struct GApplicationAddress {
    std::string busName;
    std::string objectPath;

    bool operator==(const GApplicationAddress&) const = default;
};

// The address of the app whose desktop entry id this is (with or without ".desktop"); absent for
// an id that cannot be an application id, such as one without a dot or with a space.
std::optional<GApplicationAddress> gApplicationAddress(std::string_view desktopID);

}  // namespace kestrix::desktop
