#pragma once

#include <optional>
#include <string>

#include "MoreAppsKit/Linux/MoreAppsNetwork.h"

namespace moreapps {

// What the app that shows the list tells the library about itself.
struct MoreAppsConfig {
    std::string thisApp;    // the feed id of the app showing the list
    std::string utmSource;  // campaign source put into links to the maker's site
    bool isDirect = false;  // distributed outside the App Store
    std::optional<std::string> bundleID;
    bool allowsNetwork = MoreAppsNetwork::allowsNetwork();
};

}  // namespace moreapps
