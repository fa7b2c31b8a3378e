#include "KestrixKit/Holders/HolderCoding.h"

#include <string>

#include "KestrixKit/Coding/OptionalCoding.h"
#include "KestrixKit/Holders/KernelHolderCoding.h"

namespace kestrix {
namespace {

template <typename Enum, typename Decode>
Enum decodeRawValue(const nlohmann::json& json, Decode decode, const char* what) {
    const std::optional<Enum> decoded = decode(json.get<std::string>());
    if (!decoded) throw nlohmann::json::other_error::create(501, std::string("unknown ") + what + " " + json.dump(), &json);
    return *decoded;
}

}  // namespace

using coding::getOptional;
using coding::putOptional;

void to_json(nlohmann::json& json, HelperKind kind) { json = std::string(rawValue(kind)); }
void from_json(const nlohmann::json& json, HelperKind& kind) {
    kind = decodeRawValue<HelperKind>(json, helperKindFromRawValue, "helper kind");
}

void to_json(nlohmann::json& json, HoldKind kind) { json = std::string(rawValue(kind)); }
void from_json(const nlohmann::json& json, HoldKind& kind) {
    kind = decodeRawValue<HoldKind>(json, holdKindFromRawValue, "hold kind");
}

void to_json(nlohmann::json& json, HolderAction action) { json = std::string(rawValue(action)); }
void from_json(const nlohmann::json& json, HolderAction& action) {
    action = decodeRawValue<HolderAction>(json, holderActionFromRawValue, "holder action");
}

void to_json(nlohmann::json& json, const Hold& hold) {
    json = nlohmann::json{{"kind", hold.kind}, {"path", hold.path}, {"writing", hold.writing}};
}

void from_json(const nlohmann::json& json, Hold& hold) {
    hold.kind = json.at("kind").get<HoldKind>();
    hold.path = json.at("path").get<std::string>();
    hold.writing = json.at("writing").get<bool>();
}

void to_json(nlohmann::json& json, const AppIdentity& app) {
    json = nlohmann::json::object();
    json["name"] = app.name;
    putOptional(json, "bundleID", app.bundleID);
    json["isRegular"] = app.isRegular;
}

void from_json(const nlohmann::json& json, AppIdentity& app) {
    app.name = json.at("name").get<std::string>();
    app.bundleID = getOptional<std::string>(json, "bundleID");
    app.isRegular = json.at("isRegular").get<bool>();
}

void to_json(nlohmann::json& json, const Holder& holder) {
    json = nlohmann::json::object();
    json["pid"] = holder.pid;
    json["name"] = holder.name;
    putOptional(json, "executablePath", holder.executablePath);
    putOptional(json, "appBundlePath", holder.appBundlePath);
    json["uid"] = holder.uid;
    putOptional(json, "app", holder.app);
    json["kind"] = holder.kind;
    json["holds"] = holder.holds;
    json["namedByMacOS"] = holder.namedByMacOS;
    putOptional(json, "startTime", holder.startTime);
    putOptional(json, "job", holder.job);
}

void from_json(const nlohmann::json& json, Holder& holder) {
    holder.pid = json.at("pid").get<std::int32_t>();
    holder.name = json.at("name").get<std::string>();
    holder.executablePath = getOptional<std::string>(json, "executablePath");
    holder.appBundlePath = getOptional<std::string>(json, "appBundlePath");
    holder.uid = json.at("uid").get<std::uint32_t>();
    holder.app = getOptional<AppIdentity>(json, "app");
    holder.kind = json.at("kind").get<HelperKind>();
    holder.holds = json.at("holds").get<std::vector<Hold>>();
    holder.namedByMacOS = json.at("namedByMacOS").get<bool>();
    holder.startTime = getOptional<std::uint64_t>(json, "startTime");
    holder.job = getOptional<std::string>(json, "job");
}

void to_json(nlohmann::json& json, const ScanResult& result) {
    json = nlohmann::json{{"holders", result.holders}, {"kernelHolders", result.kernelHolders},
                          {"checked", result.checked}, {"hidden", result.hidden},
                          {"deep", result.deep}, {"seconds", result.seconds}};
}

void from_json(const nlohmann::json& json, ScanResult& result) {
    result.holders = json.at("holders").get<std::vector<Holder>>();
    // Scans coded before the kernel's holders were looked for have none.
    result.kernelHolders = json.value("kernelHolders", std::vector<KernelHolder>());
    result.checked = json.at("checked").get<int>();
    result.hidden = json.at("hidden").get<int>();
    result.deep = json.at("deep").get<bool>();
    result.seconds = json.at("seconds").get<double>();
}

}  // namespace kestrix
