#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "MoreAppsKit/MoreAppsDate.h"

namespace moreapps {

// What the last feed check left behind: the validators for a conditional request
// and when the check happened.
struct MoreAppsMeta {
    std::optional<std::string> etag;
    std::optional<std::string> lastModified;
    std::optional<MoreAppsDate> checkedAt;

    // An unreadable or mistyped file counts as empty.
    static MoreAppsMeta decode(std::string_view json);
    std::string encode() const;

    bool operator==(const MoreAppsMeta&) const = default;
};

}  // namespace moreapps
