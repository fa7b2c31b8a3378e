#pragma once

#include <nlohmann/json.hpp>

#include "KestrixKit/Volumes/Drive.h"
#include "KestrixKit/Volumes/DriveVolume.h"
#include "KestrixKit/Volumes/VolumeFilter.h"
#include "KestrixKit/Volumes/VolumeKind.h"

// JSON form of the volume model: keys equal the field names, absent optional strings are left out.
// Decoding throws nlohmann::json::exception on a missing key, a wrong type or an unknown kind.
namespace kestrix {

void to_json(nlohmann::json& json, VolumeKind kind);
void from_json(const nlohmann::json& json, VolumeKind& kind);
void to_json(nlohmann::json& json, const DriveVolume& volume);
void from_json(const nlohmann::json& json, DriveVolume& volume);
void to_json(nlohmann::json& json, const Drive& drive);
void from_json(const nlohmann::json& json, Drive& drive);
void to_json(nlohmann::json& json, const VolumeFilter& filter);
void from_json(const nlohmann::json& json, VolumeFilter& filter);

}  // namespace kestrix
