#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

// Optional fields in the coded forms: left out when absent, absent when missing or null.
namespace kestrix::coding {

template <typename T>
void putOptional(nlohmann::json& json, const char* key, const std::optional<T>& value) {
    if (value) json[key] = *value;
}

template <typename T>
std::optional<T> getOptional(const nlohmann::json& json, const char* key) {
    const auto found = json.find(key);
    if (found == json.end() || found->is_null()) return std::nullopt;
    return found->template get<T>();
}

}  // namespace kestrix::coding
