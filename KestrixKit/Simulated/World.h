#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "KestrixKit/Simulated/WorldEjector.h"
#include "KestrixKit/Simulated/WorldProcess.h"
#include "KestrixKit/Simulated/WorldTimeMachine.h"
#include "KestrixKit/Simulated/WorldVolume.h"
#include "KestrixKit/Text/Vocabulary.h"

namespace kestrix {

// A whole system described by a JSON world file, for the logic to run on without touching
// the real one. Each section is read by its own decoder; unknown keys are ignored.
struct World {
    std::vector<WorldVolume> volumes;
    std::vector<WorldProcess> processes;
    // The user running the program, and the program's own process when the world has one.
    std::uint32_t currentUID = 501;
    std::optional<std::int32_t> ownPID;
    WorldEjector ejector;
    // Absent when the backup tool cannot be started at all.
    std::optional<WorldTimeMachine> timeMachine;
    // Whose words its texts use: "words": "linux" for a Linux desktop's; the base texts' otherwise.
    Vocabulary words = Vocabulary::document;
};

struct WorldError {
    std::string message;
};

using WorldLoadResult = std::variant<World, WorldError>;

WorldLoadResult parseWorld(std::string_view json);
// The world in a regular file; a device, FIFO, folder or an oversized file is an error.
WorldLoadResult loadWorld(const std::string& path);
// The built-in demonstration system.
World demoWorld();

}  // namespace kestrix
