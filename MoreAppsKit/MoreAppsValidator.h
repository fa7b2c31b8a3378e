#pragma once

#include <optional>
#include <string_view>
#include <variant>

#include "MoreAppsKit/MoreAppsError.h"
#include "MoreAppsKit/MoreAppsFeed.h"

namespace moreapps::MoreAppsValidator {

inline constexpr std::size_t maximumBytes = 262144;

// A feed that passed every rule, or the first rule it broke.
using ParseResult = std::variant<MoreAppsFeed, MoreAppsError>;

ParseResult parse(std::string_view data);

// The first rule the feed breaks, or nothing when it passes them all.
std::optional<MoreAppsError> validate(const MoreAppsFeed& feed);

}  // namespace moreapps::MoreAppsValidator
