#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "MoreAppsKit/MoreAppsDate.h"
#include "MoreAppsKit/MoreAppsFeed.h"
#include "MoreAppsKit/MoreAppsFileStore.h"
#include "MoreAppsKit/MoreAppsHosts.h"
#include "MoreAppsKit/MoreAppsMeta.h"
#include "MoreAppsKit/MoreAppsTransport.h"

namespace moreapps {

// Decides between the network, the cached download and the built-in copy of the feed.
struct MoreAppsLoader {
    using Meta = MoreAppsMeta;

    static constexpr const char* feedFileName = "more-apps.json";
    static constexpr const char* metaFileName = "more-apps.meta.json";
    static constexpr double checkInterval = 86400;
    static constexpr double requestTimeout = 5;

    std::string feedURL = MoreAppsHosts::defaultFeedURL();
    std::filesystem::path cacheDirectory;
    std::function<std::optional<std::string>()> bundled;
    std::function<MoreAppsDate()> now;
    MoreAppsTransport transport;
    std::shared_ptr<MoreAppsFileStore> files;

    // The cached download when it is there and still passes validation.
    std::optional<MoreAppsFeed> cachedFeed() const;
    // The built-in copy when it passes validation.
    std::optional<MoreAppsFeed> bundledFeed() const;

    Meta readMeta() const;
    bool writeMeta(const Meta& meta) const;

    // Asks the network for a newer feed, at most once a day; a new validated feed
    // (already cached) or nothing when there is none or anything went wrong.
    std::optional<MoreAppsFeed> refresh() const;

private:
    bool isCheckedRecently(const Meta& meta) const;
    MoreAppsRequest request(const Meta& meta) const;
    bool isAcceptable(const MoreAppsResponse& response) const;
};

}  // namespace moreapps
