#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace moreapps::MoreAppsCacheLocation {

// Where the cache lives: the user's cache folder (XDG_CACHE_HOME when it is an
// absolute path, else ~/.cache, else the temporary folder), then the app's
// identifier ("MoreAppsKit" without one), then "MoreApps".
std::filesystem::path directory(const std::optional<std::string>& xdgCacheHome,
                                const std::optional<std::string>& home,
                                const std::filesystem::path& temporaryDirectory,
                                const std::optional<std::string>& appIdentifier);

}  // namespace moreapps::MoreAppsCacheLocation
