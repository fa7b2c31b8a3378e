#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "MoreAppsKit/MoreAppsConfig.h"
#include "MoreAppsKit/MoreAppsEntry.h"
#include "MoreAppsKit/MoreAppsLoader.h"
#include "MoreAppsKit/MoreAppsSource.h"

namespace moreapps {

// The entries one app shows and where they came from.
class MoreAppsList {
public:
    // Shows the cached feed, else the built-in copy, else nothing, at once.
    MoreAppsList(MoreAppsConfig config, MoreAppsLoader loader);

    const std::vector<MoreAppsEntry>& apps() const { return apps_; }
    MoreAppsSource source() const { return source_; }
    const MoreAppsConfig& config() const { return config_; }
    const MoreAppsLoader& loader() const { return loader_; }

    // Checks the network when the app may use it; a new feed replaces the list,
    // any failure keeps what is shown.
    void refresh();

    // The same check split for an app that keeps its user interface responsive: the task
    // touches only its own copy of the loader, so it may run on another thread, and its
    // result is handed back to `showRefreshed` on the list's thread.
    std::function<std::optional<MoreAppsFeed>()> refreshTask() const;
    void showRefreshed(const std::optional<MoreAppsFeed>& feed);

private:
    void show(const MoreAppsFeed* feed, MoreAppsSource source);

    MoreAppsConfig config_;
    MoreAppsLoader loader_;
    std::vector<MoreAppsEntry> apps_;
    MoreAppsSource source_ = MoreAppsSource::none;
};

}  // namespace moreapps
