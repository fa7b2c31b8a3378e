#pragma once

#include <deque>
#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "KestrixKit/Ejection/EjectOutcome.h"

namespace kestrix {

// The "ejector" section: for each drive id, the outcomes of its successive eject requests.
// A drive with no outcome left ejects.
struct WorldEjector {
    std::map<std::string, std::deque<EjectOutcome>> outcomesByDrive;
};

// Throws world::WorldFormatError on a malformed outcome.
WorldEjector decodeWorldEjector(const nlohmann::json& world);

}  // namespace kestrix
