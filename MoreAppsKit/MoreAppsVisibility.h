#pragma once

#include <vector>

#include "MoreAppsKit/MoreAppsConfig.h"
#include "MoreAppsKit/MoreAppsEntry.h"

namespace moreapps::MoreAppsVisibility {

// The entries an app shows, in feed order: never itself, and only Flathub
// links in a build from Flathub (a Flatpak).
std::vector<MoreAppsEntry> visibleApps(const std::vector<MoreAppsEntry>& apps, const MoreAppsConfig& config);

}  // namespace moreapps::MoreAppsVisibility
