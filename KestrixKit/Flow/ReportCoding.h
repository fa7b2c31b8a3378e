#pragma once

#include <nlohmann/json.hpp>

#include "KestrixKit/Flow/DriveReport.h"
#include "KestrixKit/Flow/DriveVerdict.h"
#include "KestrixKit/Flow/ScanSummary.h"

// JSON form of eject reports, for output only. A verdict is an object with its case under
// "case" and its payload under the payload's names ("holders", "holder", "summary", "status",
// "message"; absent optionals are null). A report adds its sentence under "message" and its
// date as ISO 8601 in UTC.
namespace kestrix {

void to_json(nlohmann::json& json, const ScanSummary& summary);
void to_json(nlohmann::json& json, const DriveVerdict& verdict);
void to_json(nlohmann::json& json, const DriveReport& report);

}  // namespace kestrix
