#pragma once

#include <nlohmann/json.hpp>

#include "KestrixKit/Holders/AppIdentity.h"
#include "KestrixKit/Holders/HelperKind.h"
#include "KestrixKit/Holders/Hold.h"
#include "KestrixKit/Holders/HoldKind.h"
#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Holders/HolderAction.h"
#include "KestrixKit/Holders/ScanResult.h"

// JSON form of the holder model: keys equal the field names, absent optionals are left out,
// enumerations are their raw values. Decoding throws nlohmann::json::exception on a missing
// key, a wrong type or an unknown raw value.
namespace kestrix {

void to_json(nlohmann::json& json, HelperKind kind);
void from_json(const nlohmann::json& json, HelperKind& kind);
void to_json(nlohmann::json& json, HoldKind kind);
void from_json(const nlohmann::json& json, HoldKind& kind);
void to_json(nlohmann::json& json, HolderAction action);
void from_json(const nlohmann::json& json, HolderAction& action);
void to_json(nlohmann::json& json, const Hold& hold);
void from_json(const nlohmann::json& json, Hold& hold);
void to_json(nlohmann::json& json, const AppIdentity& app);
void from_json(const nlohmann::json& json, AppIdentity& app);
void to_json(nlohmann::json& json, const Holder& holder);
void from_json(const nlohmann::json& json, Holder& holder);
// Keys "holders", "kernelHolders", "checked", "hidden", "deep", "seconds".
void to_json(nlohmann::json& json, const ScanResult& result);
void from_json(const nlohmann::json& json, ScanResult& result);

}  // namespace kestrix
