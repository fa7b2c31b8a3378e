#include "MoreAppsKit/MoreAppsMeta.h"

#include <nlohmann/json.hpp>

namespace moreapps {

namespace {

using nlohmann::json;

const json* member(const json& object, const char* key) {
    const auto found = object.find(key);
    return found == object.end() || found->is_null() ? nullptr : &*found;
}

bool decodeString(const json& object, const char* key, std::optional<std::string>& out) {
    const json* value = member(object, key);
    if (value == nullptr) return true;
    if (!value->is_string()) return false;
    out = value->get<std::string>();
    return true;
}

}  // namespace

MoreAppsMeta MoreAppsMeta::decode(std::string_view text) {
    const json document = json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (!document.is_object()) return {};
    MoreAppsMeta meta;
    if (!decodeString(document, "etag", meta.etag) || !decodeString(document, "lastModified", meta.lastModified)) {
        return {};
    }
    if (const json* checkedAt = member(document, "checkedAt")) {
        if (!checkedAt->is_number()) return {};
        meta.checkedAt = dateFromSecondsSinceReferenceDate(checkedAt->get<double>());
    }
    return meta;
}

std::string MoreAppsMeta::encode() const {
    json document = json::object();
    if (etag) document["etag"] = *etag;
    if (lastModified) document["lastModified"] = *lastModified;
    if (checkedAt) document["checkedAt"] = secondsSinceReferenceDate(*checkedAt);
    // Header values from a server need not be UTF-8; replace rather than fail.
    return document.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace moreapps
