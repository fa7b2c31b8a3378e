#include "MoreAppsKit/CampaignLinks.h"

#include "MoreAppsKit/FieldRules.h"
#include "MoreAppsKit/MoreAppsHosts.h"

namespace moreapps::CampaignLinks {

std::string query(std::string_view source) {
    return "utm_source=" + std::string(source) + "&utm_medium=mac-app&utm_campaign=more-apps";
}

std::string seeAllApps(std::string_view utmSource) {
    const std::string_view source = FieldRules::isToken(utmSource) ? utmSource : "mac-app";
    return "https://" + std::string(MoreAppsHosts::maker) + "/mac?" + query(source) + "&utm_content=all";
}

}  // namespace moreapps::CampaignLinks
