#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/TimeMachine/BackupTool.h"

namespace kestrix {

// A backup that runs now, as the process table shows it, before its destination is known.
struct RunningBackup {
    BackupTool tool;
    // The tool's own process first, then everything it started.
    std::vector<std::int32_t> processes;
    // borg and restic: the repository's folder on this computer.
    std::optional<std::string> repository;
    // Whether Kestrix may stop it the tool's clean way (Ctrl+C, SIGINT, to the user's own borg or
    // restic); Timeshift and Déjà Dup give no such way to another program.
    bool stoppable = false;

    bool operator==(const RunningBackup&) const = default;
};

}  // namespace kestrix
