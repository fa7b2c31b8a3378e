// Any bytes: the parser either refuses them or returns a feed that passes validation,
// whose visible entries all yield a link.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "MoreAppsKit/MoreAppsValidator.h"
#include "MoreAppsKit/MoreAppsVisibility.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace moreapps;
    const auto result = MoreAppsValidator::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto* feed = std::get_if<MoreAppsFeed>(&result);
    if (feed == nullptr) return 0;
    if (MoreAppsValidator::validate(*feed)) std::abort();
    const MoreAppsConfig config{.thisApp = "kestrix", .utmSource = "fuzz", .isDirect = true,
                                .bundleID = std::nullopt, .allowsNetwork = false};
    for (const auto& entry : MoreAppsVisibility::visibleApps(feed->apps, config)) {
        if (!entry.linkToOpen(config)) std::abort();
    }
    return 0;
}
