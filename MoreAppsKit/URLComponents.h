#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace moreapps {

// The parts of a URL reference. A part is absent when its delimiter is missing
// and empty when the delimiter is there with nothing after it ("https://@host").
struct URLComponents {
    std::string scheme;
    std::optional<std::string> userInfo;
    std::optional<std::string> host;
    std::optional<std::string> port;
    std::optional<std::string> query;
    std::optional<std::string> fragment;

    static std::optional<URLComponents> parse(std::string_view url);

    // The host in lower case, or empty when there is none.
    std::string lowercaseHost() const;

    // `url` with its query replaced by `query`; nothing when `url` does not parse.
    static std::optional<std::string> replacingQuery(std::string_view url, std::string_view query);
};

}  // namespace moreapps
