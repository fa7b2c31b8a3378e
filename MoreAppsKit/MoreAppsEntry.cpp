#include "MoreAppsKit/MoreAppsEntry.h"

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

bool MoreAppsEntry::pointsToAppStore() const {
    return linkHost(url) == MoreAppsHosts::appStore;
}

bool MoreAppsEntry::pointsToMakerSite() const {
    return LinkRule::isMakerHost(linkHost(url));
}

std::optional<std::string> MoreAppsEntry::linkToOpen(const MoreAppsConfig& config) const {
    if (!URLComponents::parse(url)) return std::nullopt;
    if (!pointsToMakerSite() || !FieldRules::isToken(config.utmSource)) return url;
    const std::string campaign =
        "utm_source=" + config.utmSource + "&utm_medium=mac-app&utm_campaign=more-apps";
    return URLComponents::replacingQuery(url, campaign);
}

}  // namespace moreapps
