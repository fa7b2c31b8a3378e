#include "MoreAppsKit/Linux/MoreAppsNetwork.h"

#include <system_error>

#include "MoreAppsKit/FlatpakInfo.h"
#include "MoreAppsKit/Linux/LocalFileStore.h"

namespace moreapps::MoreAppsNetwork {

namespace {

// Far above any real sandbox description.
constexpr std::size_t flatpakInfoReadLimit = 1 << 20;

}  // namespace

bool allowsNetwork() {
    static const bool allowed = allowsNetwork(flatpakInfoPath);
    return allowed;
}

bool allowsNetwork(const std::filesystem::path& flatpakInfo) {
    std::error_code error;
    const bool present = std::filesystem::exists(std::filesystem::symlink_status(flatpakInfo, error));
    if (error && error != std::errc::no_such_file_or_directory) return false;
    if (!present) return true;
    const auto text = LocalFileStore().read(flatpakInfo, flatpakInfoReadLimit);
    return text && FlatpakInfo::sharesNetwork(*text);
}

}  // namespace moreapps::MoreAppsNetwork
