#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace moreapps {

// What came back, after any redirects the transport followed.
struct MoreAppsResponse {
    std::string url;  // the final URL
    int status = 0;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // The first header with this name, compared without regard to case.
    std::optional<std::string> header(std::string_view name) const;
};

}  // namespace moreapps
