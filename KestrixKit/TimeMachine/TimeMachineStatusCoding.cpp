#include "KestrixKit/TimeMachine/TimeMachineStatusCoding.h"

#include "KestrixKit/Coding/OptionalCoding.h"

namespace kestrix {

void to_json(nlohmann::json& json, const TimeMachineStatus& status) {
    json = nlohmann::json::object();
    json["running"] = status.running;
    coding::putOptional(json, "phase", status.phase);
    coding::putOptional(json, "progress", status.progress);
    json["destinationMountPoints"] = status.destinationMountPoints;
}

void from_json(const nlohmann::json& json, TimeMachineStatus& status) {
    status.running = json.at("running").get<bool>();
    status.phase = coding::getOptional<std::string>(json, "phase");
    status.progress = coding::getOptional<double>(json, "progress");
    status.destinationMountPoints = json.at("destinationMountPoints").get<std::vector<std::string>>();
}

}  // namespace kestrix
