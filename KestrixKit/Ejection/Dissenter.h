#pragma once

#include <cstdint>
#include <optional>

#include <nlohmann/json.hpp>

// Reading a refusal that the disk service describes as a dictionary.
namespace kestrix::Dissenter {

// The process named under "DAProcessID": a whole number from 0 to 2^31 - 1, else absent.
std::optional<std::int32_t> pid(const nlohmann::json& dictionary);

}  // namespace kestrix::Dissenter
