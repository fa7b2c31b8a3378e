#include "MoreAppsKit/MoreAppsEntry.h"

#include "MoreAppsKit/CampaignLinks.h"
#include "MoreAppsKit/FieldRules.h"
#include "MoreAppsKit/LinkRule.h"
#include "MoreAppsKit/MoreAppsHosts.h"
#include "MoreAppsKit/URLComponents.h"

namespace moreapps {

namespace {

std::string linkHost(const std::string& url) {
    const auto components = URLComponents::parse(url);
    return components ? components->lowercaseHost() : std::string();
}

}  // namespace

const std::string& MoreAppsEntry::shownName(const std::string& language) const {
    const auto texts = localized.find(language);
    return texts != localized.end() && texts->second.name ? *texts->second.name : name;
}

const std::string& MoreAppsEntry::shownDetail(const std::string& language) const {
    const auto texts = localized.find(language);
    return texts != localized.end() && texts->second.detail ? *texts->second.detail : detail;
}

bool MoreAppsEntry::pointsToAppStore() const {
    return linkHost(url) == MoreAppsHosts::appStore;
}

bool MoreAppsEntry::pointsToMakerSite() const {
    return LinkRule::isMakerHost(linkHost(url));
}

std::optional<std::string> MoreAppsEntry::linkToOpen(const MoreAppsConfig& config) const {
    if (!URLComponents::parse(url)) return std::nullopt;
    if (!pointsToMakerSite() || !FieldRules::isToken(config.utmSource)) return url;
    return URLComponents::replacingQuery(url, CampaignLinks::query(config.utmSource));
}

}  // namespace moreapps
