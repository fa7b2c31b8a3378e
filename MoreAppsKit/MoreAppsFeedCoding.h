#pragma once

#include <optional>
#include <string_view>

#include "MoreAppsKit/MoreAppsFeed.h"

namespace moreapps::MoreAppsFeedCoding {

// The feed the JSON describes, before validation. Unknown keys are ignored, a null
// optional counts as absent; a missing or mistyped required key gives nothing.
std::optional<MoreAppsFeed> decode(std::string_view json);

}  // namespace moreapps::MoreAppsFeedCoding
