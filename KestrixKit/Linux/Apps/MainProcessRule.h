#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix {

// What tells an app's main process from its helpers (renderers, workers, plug-ins).
struct AppProcessFacts {
    std::int32_t pid = 0;
    // The process the desktop launched the app as.
    std::optional<std::int32_t> launchedPID;
    // The first process of the app's systemd unit.
    std::optional<std::int32_t> unitLeader;
    std::optional<std::string> executable;
    std::optional<std::string> parentExecutable;
    // The program the desktop entry's Exec line starts.
    std::optional<std::string> entryProgram;
};

// The main process is the launched one, the unit's first, or one that runs the entry's
// program by file name and was not started by that same program (a multi-process app's
// helpers run its own executable again).
bool isAppMainProcess(const AppProcessFacts& facts);

}  // namespace kestrix
