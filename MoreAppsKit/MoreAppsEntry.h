#pragma once

#include <map>
#include <optional>
#include <string>

#include "MoreAppsKit/MoreAppsConfig.h"

namespace moreapps {

// One app of the catalogue, identified by `id`.
struct MoreAppsEntry {
    struct Localized {
        std::optional<std::string> name;
        std::optional<std::string> detail;
        bool operator==(const Localized&) const = default;
    };

    std::string id;
    std::string name;
    std::string detail;
    std::string symbol;
    std::string tint;
    std::string url;
    std::optional<std::string> bundleId;
    // Language code to texts; ordered so that validation reports deterministically.
    std::map<std::string, Localized> localized;

    // The name and detail shown in a language: its `localized` text when it has that
    // field, otherwise the base text.
    const std::string& shownName(const std::string& language) const;
    const std::string& shownDetail(const std::string& language) const;

    bool pointsToAppStore() const;
    bool pointsToMakerSite() const;
    // The link to open, with campaign parameters on links to the maker's site;
    // nothing when `url` does not parse.
    std::optional<std::string> linkToOpen(const MoreAppsConfig& config) const;

    bool operator==(const MoreAppsEntry&) const = default;
};

}  // namespace moreapps
