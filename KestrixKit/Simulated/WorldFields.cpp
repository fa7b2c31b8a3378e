#include "KestrixKit/Simulated/WorldFields.h"

#include <limits>

namespace kestrix::world {
namespace {

const nlohmann::json* present(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null()) return nullptr;
    return &*found;
}

[[noreturn]] void wrongType(const std::string& where, const char* key, const char* expected) {
    throw WorldFormatError(where + "." + key + ": expected " + expected);
}

template <typename Integer>
std::optional<Integer> optionalInteger(const nlohmann::json& object, const char* key, const std::string& where,
                                       const char* expected) {
    const nlohmann::json* value = present(object, key);
    if (!value) return std::nullopt;
    if (value->is_number_unsigned()) {
        const auto number = value->get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(std::numeric_limits<Integer>::max())) wrongType(where, key, expected);
        return static_cast<Integer>(number);
    }
    if (value->is_number_integer()) {
        const auto number = value->get<std::int64_t>();
        if (number < static_cast<std::int64_t>(std::numeric_limits<Integer>::min())) wrongType(where, key, expected);
        return static_cast<Integer>(number);
    }
    wrongType(where, key, expected);
}

}  // namespace

const nlohmann::json& object(const nlohmann::json& value, const std::string& where) {
    if (!value.is_object()) throw WorldFormatError(where + ": expected an object");
    return value;
}

const nlohmann::json& optionalArray(const nlohmann::json& object, const char* key, const std::string& where) {
    static const nlohmann::json empty = nlohmann::json::array();
    const nlohmann::json* value = present(object, key);
    if (!value) return empty;
    if (!value->is_array()) wrongType(where, key, "an array");
    return *value;
}

std::optional<std::string> optionalString(const nlohmann::json& object, const char* key, const std::string& where) {
    const nlohmann::json* value = present(object, key);
    if (!value) return std::nullopt;
    if (!value->is_string()) wrongType(where, key, "a string");
    return value->get<std::string>();
}

std::string requiredString(const nlohmann::json& object, const char* key, const std::string& where) {
    std::optional<std::string> value = optionalString(object, key, where);
    if (!value) throw WorldFormatError(where + "." + key + ": missing");
    return *value;
}

std::optional<bool> optionalBool(const nlohmann::json& object, const char* key, const std::string& where) {
    const nlohmann::json* value = present(object, key);
    if (!value) return std::nullopt;
    if (!value->is_boolean()) wrongType(where, key, "true or false");
    return value->get<bool>();
}

std::optional<std::uint64_t> optionalUInt64(const nlohmann::json& object, const char* key, const std::string& where) {
    return optionalInteger<std::uint64_t>(object, key, where, "a whole number from 0");
}

std::optional<std::uint32_t> optionalUInt32(const nlohmann::json& object, const char* key, const std::string& where) {
    return optionalInteger<std::uint32_t>(object, key, where, "a whole number from 0 to 4294967295");
}

std::optional<std::int32_t> optionalInt32(const nlohmann::json& object, const char* key, const std::string& where) {
    return optionalInteger<std::int32_t>(object, key, where, "a 32-bit whole number");
}

}  // namespace kestrix::world
