#include "KestrixKit/Holders/KernelHolderCoding.h"

#include <string>

#include "KestrixKit/Coding/OptionalCoding.h"

namespace kestrix {

using coding::getOptional;
using coding::putOptional;

void to_json(nlohmann::json& json, KernelHoldKind kind) { json = std::string(rawValue(kind)); }
void from_json(const nlohmann::json& json, KernelHoldKind& kind) {
    const std::optional<KernelHoldKind> decoded = kernelHoldKindFromRawValue(json.get<std::string>());
    if (!decoded) throw nlohmann::json::other_error::create(501, "unknown kernel hold kind " + json.dump(), &json);
    kind = *decoded;
}

void to_json(nlohmann::json& json, const KernelHolder& holder) {
    json = nlohmann::json::object();
    json["kind"] = holder.kind;
    json["name"] = holder.name;
    json["device"] = holder.device;
    putOptional(json, "mountPath", holder.mountPath);
    json["pid"] = holder.pid;
    putOptional(json, "unit", holder.unit);
    putOptional(json, "container", holder.container);
}

void from_json(const nlohmann::json& json, KernelHolder& holder) {
    holder.kind = json.at("kind").get<KernelHoldKind>();
    holder.name = json.at("name").get<std::string>();
    holder.device = json.value("device", std::string());
    holder.mountPath = getOptional<std::string>(json, "mountPath");
    holder.pid = json.value("pid", std::int32_t{0});
    holder.unit = getOptional<std::string>(json, "unit");
    holder.container = getOptional<std::string>(json, "container");
}

}  // namespace kestrix
