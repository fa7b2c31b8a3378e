#pragma once

#include <string>
#include <string_view>

// Every host the feed and its links may name, kept together so a move of the
// maker's site or a change of store is a one-line edit.
namespace moreapps::MoreAppsHosts {

inline constexpr std::string_view maker = "orvane.com";
inline constexpr std::string_view appStore = "apps.apple.com";
inline constexpr std::string_view directStore = "gumroad.com";
inline constexpr std::string_view feedPath = "/mac/more-apps.json";

inline std::string defaultFeedURL() {
    return "https://" + std::string(maker) + std::string(feedPath);
}

}  // namespace moreapps::MoreAppsHosts
