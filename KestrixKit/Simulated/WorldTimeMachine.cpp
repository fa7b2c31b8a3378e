#include "KestrixKit/Simulated/WorldTimeMachine.h"

#include "KestrixKit/Simulated/WorldFields.h"

namespace kestrix {

using namespace world;

std::optional<WorldTimeMachine> decodeWorldTimeMachine(const nlohmann::json& worldObject) {
    const auto section = worldObject.find("timeMachine");
    if (section == worldObject.end() || section->is_null()) return std::nullopt;
    const nlohmann::json& entry = object(*section, "timeMachine");
    WorldTimeMachine timeMachine;
    timeMachine.status = optionalString(entry, "status", "timeMachine");
    timeMachine.destinationinfo = optionalString(entry, "destinationinfo", "timeMachine");
    const auto stop = entry.find("stopbackup");
    if (stop != entry.end() && !stop->is_null()) {
        const nlohmann::json& stopEntry = object(*stop, "timeMachine.stopbackup");
        timeMachine.stopbackup = CommandOutput{
            .exitStatus = optionalInt32(stopEntry, "exit", "timeMachine.stopbackup").value_or(0),
            .output = optionalString(stopEntry, "output", "timeMachine.stopbackup").value_or(""),
        };
    }
    if (const auto tool = optionalString(entry, "tool", "timeMachine")) {
        timeMachine.tool = backupToolFromRawValue(*tool);
        if (!timeMachine.tool) throw WorldFormatError("timeMachine.tool: \"" + *tool + "\" is no backup tool");
    }
    return timeMachine;
}

}  // namespace kestrix
