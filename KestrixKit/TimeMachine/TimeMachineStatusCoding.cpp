#include "KestrixKit/TimeMachine/TimeMachineStatusCoding.h"

#include "KestrixKit/Coding/OptionalCoding.h"

namespace kestrix {

void to_json(nlohmann::json& json, const TimeMachineStatus& status) {
    json = nlohmann::json::object();
    json["running"] = status.running;
    coding::putOptional(json, "phase", status.phase);
    coding::putOptional(json, "progress", status.progress);
    json["destinationMountPoints"] = status.destinationMountPoints;
    // Only a Linux tool's status has these; the others read as they always have.
    if (status.tool) json["tool"] = std::string(rawValue(*status.tool));
    if (!status.processes.empty()) json["processes"] = status.processes;
    if (!status.stoppable) json["stoppable"] = false;
}

void from_json(const nlohmann::json& json, TimeMachineStatus& status) {
    status.running = json.at("running").get<bool>();
    status.phase = coding::getOptional<std::string>(json, "phase");
    status.progress = coding::getOptional<double>(json, "progress");
    status.destinationMountPoints = json.at("destinationMountPoints").get<std::vector<std::string>>();
    status.tool.reset();
    if (const auto tool = coding::getOptional<std::string>(json, "tool")) status.tool = backupToolFromRawValue(*tool);
    status.processes = json.value("processes", std::vector<std::int32_t>{});
    status.stoppable = json.value("stoppable", true);
}

}  // namespace kestrix
