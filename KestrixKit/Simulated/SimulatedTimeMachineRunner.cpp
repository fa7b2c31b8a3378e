#include "KestrixKit/Simulated/SimulatedTimeMachineRunner.h"

namespace kestrix {
namespace {

constexpr const char* idleStatusText = "Backup session status:\n{\n    ClientID = \"com.apple.backupd\";\n    Running = 0;\n}\n";

std::optional<CommandOutput> printed(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    return CommandOutput{.exitStatus = 0, .output = *text};
}

}  // namespace

TimeMachineRunner simulatedTimeMachineRunner(std::shared_ptr<SimulatedSystem> system) {
    return [system = std::move(system)](const std::vector<std::string>& arguments) -> std::optional<CommandOutput> {
        std::optional<WorldTimeMachine>& tool = system->world().timeMachine;
        if (!tool || arguments.size() != 1) return std::nullopt;
        const std::string& command = arguments.front();
        if (command == "status") return printed(tool->status);
        if (command == "destinationinfo") return printed(tool->destinationinfo);
        if (command == "stopbackup") {
            if (tool->stopbackup && tool->stopbackup->exitStatus == 0 && tool->status) tool->status = idleStatusText;
            return tool->stopbackup;
        }
        return std::nullopt;
    };
}

}  // namespace kestrix
