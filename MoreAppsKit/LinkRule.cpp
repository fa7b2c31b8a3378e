#include "MoreAppsKit/LinkRule.h"

#include <string>

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include "MoreAppsKit/Characters.h"
#include "MoreAppsKit/MoreAppsHosts.h"
#include "MoreAppsKit/URLComponents.h"

namespace moreapps::LinkRule {

namespace {

bool hasSpaceOrControl(std::string_view url) {
    const auto length = static_cast<int32_t>(url.size());
    int32_t offset = 0;
    while (offset < length) {
        UChar32 scalar = 0;
        U8_NEXT(url.data(), offset, length, scalar);
        if (scalar < 0x20 || u_isUWhiteSpace(scalar)) return true;
    }
    return false;
}

bool isDirectStoreHost(std::string_view host) {
    if (host == MoreAppsHosts::directStore) return true;
    // A subdomain: the host ends with "." and the store's own name.
    return host.size() > MoreAppsHosts::directStore.size() + 1 && host.ends_with(MoreAppsHosts::directStore) &&
           host[host.size() - MoreAppsHosts::directStore.size() - 1] == '.';
}

}  // namespace

bool isMakerHost(std::string_view host) {
    return host == MoreAppsHosts::maker || host == "www." + std::string(MoreAppsHosts::maker);
}

bool isAllowedHost(std::string_view host) {
    return isMakerHost(host) || host == MoreAppsHosts::appStore || isDirectStoreHost(host);
}

bool accepts(std::string_view url) {
    if (Characters::count(url) > 200) return false;
    if (url.find_first_of("?#") != std::string_view::npos) return false;
    if (hasSpaceOrControl(url)) return false;
    const auto components = URLComponents::parse(url);
    if (!components || components->scheme != "https") return false;
    const std::string host = components->lowercaseHost();
    if (host.empty()) return false;
    if (components->userInfo || components->port) return false;
    if (components->query || components->fragment) return false;
    return isAllowedHost(host);
}

}  // namespace moreapps::LinkRule

