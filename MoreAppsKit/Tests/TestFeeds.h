#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "MoreAppsKit/MoreAppsValidator.h"

namespace moreapps::fixtures {

inline nlohmann::json app(const std::string& id, const std::string& url = "https://flathub.org/apps/com.example.One") {
    return {{"id", id},         {"name", "Name"}, {"detail", "Does things."},
            {"symbol", "star"}, {"tint", "blue"},        {"url", url}};
}

inline std::string feed(const std::vector<nlohmann::json>& apps, int schema = 1) {
    return nlohmann::json{{"schema", schema}, {"apps", apps}}.dump();
}

inline std::string feedWith(const nlohmann::json& entry) { return feed({app("first"), entry}); }

// The error a feed gives, or nothing when it passes.
inline std::optional<MoreAppsError> errorOf(const std::string& data) {
    auto result = MoreAppsValidator::parse(data);
    if (auto* error = std::get_if<MoreAppsError>(&result)) return *error;
    return std::nullopt;
}

inline std::vector<std::string> ids(const std::vector<MoreAppsEntry>& entries) {
    std::vector<std::string> result;
    for (const auto& entry : entries) result.push_back(entry.id);
    return result;
}

}  // namespace moreapps::fixtures
