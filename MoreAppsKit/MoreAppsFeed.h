#pragma once

#include <cstdint>
#include <vector>

#include "MoreAppsKit/MoreAppsEntry.h"

namespace moreapps {

struct MoreAppsFeed {
    std::int64_t schema = 1;
    std::vector<MoreAppsEntry> apps;
    bool operator==(const MoreAppsFeed&) const = default;
};

}  // namespace moreapps
