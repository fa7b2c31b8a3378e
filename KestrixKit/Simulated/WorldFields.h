#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

// Typed reading of world-file fields. A wrongly typed field throws WorldFormatError naming
// the field's place; the world loader turns it into an error value.
namespace kestrix::world {

struct WorldFormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The object at `where` (for messages, such as "volumes[2]"), or an error when it is not one.
const nlohmann::json& object(const nlohmann::json& value, const std::string& where);
// The array under `key`, empty when missing or null.
const nlohmann::json& optionalArray(const nlohmann::json& object, const char* key, const std::string& where);

std::optional<std::string> optionalString(const nlohmann::json& object, const char* key, const std::string& where);
std::string requiredString(const nlohmann::json& object, const char* key, const std::string& where);
std::optional<bool> optionalBool(const nlohmann::json& object, const char* key, const std::string& where);
std::optional<std::uint64_t> optionalUInt64(const nlohmann::json& object, const char* key, const std::string& where);
std::optional<std::uint32_t> optionalUInt32(const nlohmann::json& object, const char* key, const std::string& where);
std::optional<std::int32_t> optionalInt32(const nlohmann::json& object, const char* key, const std::string& where);

}  // namespace kestrix::world
