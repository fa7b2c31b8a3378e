#include "MoreAppsKit/Linux/StandardMoreAppsLoader.h"

#include <cstdlib>

#include "MoreAppsKit/BundledFeed.h"
#include "MoreAppsKit/Linux/LocalFileStore.h"
#include "MoreAppsKit/MoreAppsCacheLocation.h"

namespace moreapps {

namespace {

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::filesystem::path temporaryDirectory() {
    std::error_code error;
    auto directory = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : directory;
}

}  // namespace

MoreAppsLoader standardMoreAppsLoader(MoreAppsTransport transport, const std::optional<std::string>& appIdentifier) {
    return MoreAppsLoader{
        .feedURL = MoreAppsHosts::defaultFeedURL(),
        .cacheDirectory = MoreAppsCacheLocation::directory(environment("XDG_CACHE_HOME"), environment("HOME"),
                                                           temporaryDirectory(), appIdentifier),
        .bundled = [] { return std::optional<std::string>(BundledFeed::data()); },
        .now = [] { return MoreAppsDate(std::chrono::system_clock::now()); },
        .transport = std::move(transport),
        .files = std::make_shared<LocalFileStore>(),
    };
}

}  // namespace moreapps
