#include "MoreAppsKit/MoreAppsList.h"

#include "MoreAppsKit/MoreAppsVisibility.h"

namespace moreapps {

MoreAppsList::MoreAppsList(MoreAppsConfig config, MoreAppsLoader loader)
    : config_(std::move(config)), loader_(std::move(loader)) {
    if (const auto cached = loader_.cachedFeed()) {
        show(&*cached, MoreAppsSource::cache);
    } else if (const auto bundled = loader_.bundledFeed()) {
        show(&*bundled, MoreAppsSource::bundled);
    } else {
        show(nullptr, MoreAppsSource::none);
    }
}

void MoreAppsList::refresh() { showRefreshed(refreshTask()()); }

std::function<std::optional<MoreAppsFeed>()> MoreAppsList::refreshTask() const {
    if (!config_.allowsNetwork) return [] { return std::optional<MoreAppsFeed>(); };
    return [loader = loader_] { return loader.refresh(); };
}

void MoreAppsList::showRefreshed(const std::optional<MoreAppsFeed>& feed) {
    if (feed) show(&*feed, MoreAppsSource::network);
}

void MoreAppsList::show(const MoreAppsFeed* feed, MoreAppsSource source) {
    apps_ = feed ? MoreAppsVisibility::visibleApps(feed->apps, config_) : std::vector<MoreAppsEntry>{};
    source_ = source;
}

}  // namespace moreapps
