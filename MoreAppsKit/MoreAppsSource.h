#pragma once

#include <string_view>

namespace moreapps {

// Where the list on screen came from.
enum class MoreAppsSource { network, cache, bundled, none };

constexpr std::string_view rawValue(MoreAppsSource source) {
    switch (source) {
    case MoreAppsSource::network: return "network";
    case MoreAppsSource::cache: return "cache";
    case MoreAppsSource::bundled: return "bundled";
    case MoreAppsSource::none: return "none";
    }
    return "none";
}

}  // namespace moreapps
