#pragma once

#include <nlohmann/json.hpp>

#include "KestrixKit/Holders/KernelHoldKind.h"
#include "KestrixKit/Holders/KernelHolder.h"

// JSON form of a kernel holder, as HolderCoding.h codes the process holders: keys equal the field
// names, absent optionals are left out, the kind is its raw value.
namespace kestrix {

void to_json(nlohmann::json& json, KernelHoldKind kind);
void from_json(const nlohmann::json& json, KernelHoldKind& kind);
void to_json(nlohmann::json& json, const KernelHolder& holder);
// Only "kind" and "name" are required.
void from_json(const nlohmann::json& json, KernelHolder& holder);

}  // namespace kestrix
