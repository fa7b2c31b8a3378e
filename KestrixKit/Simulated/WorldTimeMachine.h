#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "KestrixKit/TimeMachine/BackupTool.h"
#include "KestrixKit/TimeMachine/CommandOutput.h"

namespace kestrix {

// The "timeMachine" section: the text each invocation of the backup tool prints. A missing
// invocation cannot be started.
struct WorldTimeMachine {
    std::optional<std::string> status;
    std::optional<std::string> destinationinfo;
    std::optional<CommandOutput> stopbackup;
    // The Linux tool the backup stands for ("dejaDup" …); its status then names it, and only
    // borg and restic can be stopped from Kestrix.
    std::optional<BackupTool> tool;
};

// Absent when the world has no backup tool at all; throws world::WorldFormatError when malformed.
std::optional<WorldTimeMachine> decodeWorldTimeMachine(const nlohmann::json& world);

}  // namespace kestrix
