#include "MoreAppsKit/MoreAppsValidator.h"

#include <set>

#include "MoreAppsKit/Characters.h"
#include "MoreAppsKit/FieldRules.h"
#include "MoreAppsKit/LinkRule.h"
#include "MoreAppsKit/MoreAppsFeedCoding.h"

namespace moreapps::MoreAppsValidator {

namespace {

constexpr std::size_t maximumApps = 60;
constexpr std::size_t nameLimit = 40;
constexpr std::size_t detailLimit = 120;

std::optional<MoreAppsError> invalid(std::string text) {
    return MoreAppsError::invalid(std::move(text));
}

std::optional<MoreAppsError> validateLocalized(const MoreAppsEntry& entry) {
    for (const auto& [code, texts] : entry.localized) {
        if (!FieldRules::isLanguageCode(code)) return invalid("language of " + entry.id);
        if (texts.name && !FieldRules::passesTextRule(*texts.name, nameLimit)) {
            return invalid(code + " name of " + entry.id);
        }
        if (texts.detail && !FieldRules::passesTextRule(*texts.detail, detailLimit)) {
            return invalid(code + " detail of " + entry.id);
        }
    }
    return std::nullopt;
}

std::optional<MoreAppsError> validateEntry(const MoreAppsEntry& entry, std::set<std::string>& seenIds) {
    if (!FieldRules::isToken(entry.id)) return invalid("id " + std::string(Characters::prefix(entry.id, 60)));
    if (!seenIds.insert(entry.id).second) return invalid("duplicate id " + entry.id);
    if (entry.bundleId && !FieldRules::isBundleIdentifier(*entry.bundleId)) return invalid("bundleId of " + entry.id);
    if (!FieldRules::passesTextRule(entry.name, nameLimit)) return invalid("name of " + entry.id);
    if (!FieldRules::passesTextRule(entry.detail, detailLimit)) return invalid("detail of " + entry.id);
    if (!FieldRules::isSymbolName(entry.symbol)) return invalid("symbol of " + entry.id);
    if (!FieldRules::isTintName(entry.tint)) return invalid("tint of " + entry.id);
    if (!LinkRule::accepts(entry.url)) return invalid("url of " + entry.id);
    return validateLocalized(entry);
}

}  // namespace

ParseResult parse(std::string_view data) {
    if (data.size() > maximumBytes) return MoreAppsError::tooLarge();
    auto feed = MoreAppsFeedCoding::decode(data);
    if (!feed) return MoreAppsError::notJSON();
    if (auto error = validate(*feed)) return *error;
    return std::move(*feed);
}

std::optional<MoreAppsError> validate(const MoreAppsFeed& feed) {
    if (feed.schema != 1) return MoreAppsError::schema(feed.schema);
    if (feed.apps.empty() || feed.apps.size() > maximumApps) {
        return MoreAppsError::count(static_cast<std::int64_t>(feed.apps.size()));
    }
    std::set<std::string> seenIds;
    for (const auto& entry : feed.apps) {
        if (auto error = validateEntry(entry, seenIds)) return error;
    }
    return std::nullopt;
}

}  // namespace moreapps::MoreAppsValidator
