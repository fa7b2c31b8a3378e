#include "MoreAppsKit/MoreAppsVisibility.h"

namespace moreapps::MoreAppsVisibility {

namespace {

bool isVisible(const MoreAppsEntry& entry, const MoreAppsConfig& config) {
    if (entry.id == config.thisApp) return false;
    if (entry.bundleId && config.bundleID && *entry.bundleId == *config.bundleID) return false;
    return config.isDirect || entry.pointsToAppStore();
}

}  // namespace

std::vector<MoreAppsEntry> visibleApps(const std::vector<MoreAppsEntry>& apps, const MoreAppsConfig& config) {
    std::vector<MoreAppsEntry> visible;
    for (const auto& entry : apps) {
        if (isVisible(entry, config)) visible.push_back(entry);
    }
    return visible;
}

}  // namespace moreapps::MoreAppsVisibility
