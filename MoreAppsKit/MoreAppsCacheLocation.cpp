#include "MoreAppsKit/MoreAppsCacheLocation.h"

namespace moreapps::MoreAppsCacheLocation {

namespace {

bool isAbsolute(const std::optional<std::string>& path) {
    return path && !path->empty() && std::filesystem::path(*path).is_absolute();
}

// An identifier that would climb out of the cache folder is no identifier.
bool isUsableIdentifier(const std::optional<std::string>& identifier) {
    return identifier && !identifier->empty() && *identifier != "." && *identifier != ".." &&
           identifier->find('/') == std::string::npos;
}

}  // namespace

std::filesystem::path directory(const std::optional<std::string>& xdgCacheHome,
                                const std::optional<std::string>& home,
                                const std::filesystem::path& temporaryDirectory,
                                const std::optional<std::string>& appIdentifier) {
    std::filesystem::path caches = isAbsolute(xdgCacheHome) ? std::filesystem::path(*xdgCacheHome)
                                   : isAbsolute(home)       ? std::filesystem::path(*home) / ".cache"
                                                            : temporaryDirectory;
    const std::string folder = isUsableIdentifier(appIdentifier) ? *appIdentifier : "MoreAppsKit";
    return caches / folder / "MoreApps";
}

}  // namespace moreapps::MoreAppsCacheLocation
