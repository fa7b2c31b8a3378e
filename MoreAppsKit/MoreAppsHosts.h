#pragma once

#include <string>
#include <string_view>

// Every host the feed and its links may name, kept together so a move of the
// maker's site or a change of store is a one-line edit.
namespace moreapps::MoreAppsHosts {

inline constexpr std::string_view maker = "orvane.com";
// The app store Linux users know: Flathub.
inline constexpr std::string_view appStore = "flathub.org";
inline constexpr std::string_view directStore = "gumroad.com";
// The maker's Linux catalogue, its feed, and the campaign medium of links from a Linux app.
inline constexpr std::string_view catalogPath = "/linux";
inline constexpr std::string_view feedPath = "/linux/more-apps.json";
inline constexpr std::string_view campaignMedium = "linux-app";

inline std::string defaultFeedURL() {
    return "https://" + std::string(maker) + std::string(feedPath);
}

}  // namespace moreapps::MoreAppsHosts
