#include "MoreAppsKit/CampaignLinks.h"

#include "MoreAppsKit/FieldRules.h"
#include "MoreAppsKit/MoreAppsHosts.h"

namespace moreapps::CampaignLinks {

std::string query(std::string_view source) {
    return "utm_source=" + std::string(source) + "&utm_medium=" + std::string(MoreAppsHosts::campaignMedium) +
           "&utm_campaign=more-apps";
}

std::string seeAllApps(std::string_view utmSource) {
    const std::string_view source = FieldRules::isToken(utmSource) ? utmSource : MoreAppsHosts::campaignMedium;
    return "https://" + std::string(MoreAppsHosts::maker) + std::string(MoreAppsHosts::catalogPath) + "?" +
           query(source) + "&utm_content=all";
}

}  // namespace moreapps::CampaignLinks
