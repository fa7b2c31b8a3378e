#pragma once

#include <string>
#include <utility>
#include <vector>

namespace moreapps {

// One GET of the feed. Cookies are never sent or stored.
struct MoreAppsRequest {
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    double timeoutSeconds = 5;
    bool ignoresLocalCache = true;

    bool operator==(const MoreAppsRequest&) const = default;
};

}  // namespace moreapps
