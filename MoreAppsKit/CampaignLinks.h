#pragma once

#include <string>
#include <string_view>

// The campaign parameters the app puts on links to the maker's site, so the site can
// tell which app sent a visitor.
namespace moreapps::CampaignLinks {

// "utm_source=<source>&utm_medium=linux-app&utm_campaign=more-apps".
std::string query(std::string_view source);

// The maker's catalogue of Linux apps, "/linux", with the campaign query and "utm_content=all";
// a source that is not a token is replaced by "linux-app".
std::string seeAllApps(std::string_view utmSource);

}  // namespace moreapps::CampaignLinks
