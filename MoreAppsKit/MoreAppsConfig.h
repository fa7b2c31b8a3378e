#pragma once

#include <optional>
#include <string>

namespace moreapps {

// What the app that shows the list tells the library about itself.
struct MoreAppsConfig {
    std::string thisApp;    // the feed id of the app showing the list
    std::string utmSource;  // campaign source put into links to the maker's site
    bool isDirect = false;  // distributed outside the app store (on Linux: not a Flatpak from Flathub)
    std::optional<std::string> bundleID;
    // Whether the app may reach the network; on Linux, MoreAppsNetwork::allowsNetwork() tells.
    bool allowsNetwork = true;
};

}  // namespace moreapps
