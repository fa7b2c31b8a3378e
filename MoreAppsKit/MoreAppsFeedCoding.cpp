#include "MoreAppsKit/MoreAppsFeedCoding.h"

#include <cmath>
#include <cstdint>

#include <nlohmann/json.hpp>

namespace moreapps::MoreAppsFeedCoding {

namespace {

using nlohmann::json;

// A present, non-null member, or null.
const json* member(const json& object, const char* key) {
    const auto found = object.find(key);
    return found == object.end() || found->is_null() ? nullptr : &*found;
}

std::optional<std::string> requiredString(const json& object, const char* key) {
    const json* value = member(object, key);
    if (value == nullptr || !value->is_string()) return std::nullopt;
    return value->get<std::string>();
}

// Absent and null give an empty optional in `out`; only a mistyped value fails.
bool optionalString(const json& object, const char* key, std::optional<std::string>& out) {
    const json* value = member(object, key);
    if (value == nullptr) return true;
    if (!value->is_string()) return false;
    out = value->get<std::string>();
    return true;
}

// Whole numbers only; a number written with a fraction or exponent counts when exact.
std::optional<std::int64_t> integer(const json& value) {
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
        return static_cast<std::int64_t>(number);
    }
    if (value.is_number_integer()) return value.get<std::int64_t>();
    if (value.is_number_float()) {
        const double number = value.get<double>();
        // -2^63 is the lowest whole double in range and 2^63 the first one above it.
        if (std::trunc(number) == number && number >= -9223372036854775808.0 && number < 9223372036854775808.0) {
            return static_cast<std::int64_t>(number);
        }
    }
    return std::nullopt;
}

std::optional<MoreAppsEntry::Localized> localized(const json& value) {
    MoreAppsEntry::Localized texts;
    if (!value.is_object() || !optionalString(value, "name", texts.name) ||
        !optionalString(value, "detail", texts.detail)) {
        return std::nullopt;
    }
    return texts;
}

std::optional<MoreAppsEntry> entry(const json& value) {
    if (!value.is_object()) return std::nullopt;
    auto id = requiredString(value, "id");
    auto name = requiredString(value, "name");
    auto detail = requiredString(value, "detail");
    auto symbol = requiredString(value, "symbol");
    auto tint = requiredString(value, "tint");
    auto url = requiredString(value, "url");
    if (!id || !name || !detail || !symbol || !tint || !url) return std::nullopt;
    MoreAppsEntry entry{.id = std::move(*id), .name = std::move(*name), .detail = std::move(*detail),
                        .symbol = std::move(*symbol), .tint = std::move(*tint), .url = std::move(*url),
                        .bundleId = std::nullopt, .localized = {}};
    if (!optionalString(value, "bundleId", entry.bundleId)) return std::nullopt;
    if (const json* texts = member(value, "localized")) {
        if (!texts->is_object()) return std::nullopt;
        for (const auto& [code, text] : texts->items()) {
            auto decoded = localized(text);
            if (!decoded) return std::nullopt;
            entry.localized.emplace(code, std::move(*decoded));
        }
    }
    return entry;
}

std::optional<MoreAppsFeed> feed(const json& value) {
    if (!value.is_object()) return std::nullopt;
    const json* schemaValue = member(value, "schema");
    const json* appsValue = member(value, "apps");
    if (schemaValue == nullptr || appsValue == nullptr || !appsValue->is_array()) return std::nullopt;
    const auto schema = integer(*schemaValue);
    if (!schema) return std::nullopt;
    MoreAppsFeed decoded{.schema = *schema, .apps = {}};
    for (const auto& app : *appsValue) {
        auto decodedEntry = entry(app);
        if (!decodedEntry) return std::nullopt;
        decoded.apps.push_back(std::move(*decodedEntry));
    }
    return decoded;
}

}  // namespace

std::optional<MoreAppsFeed> decode(std::string_view text) {
    // The parser stops at a NUL byte as at the end of its input, so a feed followed by a NUL and
    // anything at all would pass. JSON text never holds a raw NUL, so such a text is refused whole.
    if (text.find('\0') != std::string_view::npos) return std::nullopt;
    const json document = json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (document.is_discarded()) return std::nullopt;
    return feed(document);
}

}  // namespace moreapps::MoreAppsFeedCoding
