#include "MoreAppsKit/MoreAppsCacheLocation.h"

#include "FileSupport/XdgFolder.h"

namespace moreapps::MoreAppsCacheLocation {

namespace {

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
    const auto cacheFolder = filesupport::xdgFolder(xdgCacheHome, home, ".cache");
    const std::filesystem::path caches = cacheFolder ? std::filesystem::path(*cacheFolder) : temporaryDirectory;
    const std::string folder = isUsableIdentifier(appIdentifier) ? *appIdentifier : "MoreAppsKit";
    return caches / folder / "MoreApps";
}

}  // namespace moreapps::MoreAppsCacheLocation
