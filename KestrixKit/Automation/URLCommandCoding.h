#pragma once

#include <nlohmann/json_fwd.hpp>

#include "KestrixKit/Automation/URLCommand.h"

namespace kestrix {

// {"command":"eject","drive":NAME}, {"command":"check","drive":NAME}, {"command":"ejectAll"}
// or {"command":"open"}: the case names, as scripts read them.
void to_json(nlohmann::json& json, const URLCommand& command);

}  // namespace kestrix
