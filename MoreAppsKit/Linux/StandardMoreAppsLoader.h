#pragma once

#include <optional>
#include <string>

#include "MoreAppsKit/MoreAppsLoader.h"

namespace moreapps {

// The loader an app uses: the maker's feed, the user's cache folder for this app,
// the built-in copy, the system clock and the given transport.
MoreAppsLoader standardMoreAppsLoader(MoreAppsTransport transport, const std::optional<std::string>& appIdentifier);

}  // namespace moreapps
