#pragma once

#include <nlohmann/json.hpp>

#include "KestrixKit/TimeMachine/TimeMachineStatus.h"

// JSON form of a backup status: keys equal the field names; "phase" and "progress" are left out
// when absent. Decoding throws nlohmann::json::exception on a missing key or a wrong type.
namespace kestrix {

void to_json(nlohmann::json& json, const TimeMachineStatus& status);
void from_json(const nlohmann::json& json, TimeMachineStatus& status);

}  // namespace kestrix
