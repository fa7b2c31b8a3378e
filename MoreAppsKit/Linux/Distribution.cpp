#include "MoreAppsKit/Linux/Distribution.h"

#include <system_error>

namespace moreapps::Distribution {

bool isDirect(const std::filesystem::path& flatpakInfo) {
    std::error_code error;
    // A description that can't be checked for is taken as none: the usual build is direct.
    return !std::filesystem::exists(std::filesystem::symlink_status(flatpakInfo, error));
}

}  // namespace moreapps::Distribution
