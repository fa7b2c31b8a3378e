#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrix {

// A running process as the backup rules see it: who started it, its command line and where it
// works (to place a relative repository).
struct BackupProcess {
    std::int32_t pid = 0;
    std::int32_t parentPID = 0;
    std::uint32_t uid = 0;
    // The kernel's name for it (/proc/PID/comm).
    std::string name;
    // The command line, the program's name first.
    std::vector<std::string> arguments;
    std::optional<std::string> workingFolder;

    bool operator==(const BackupProcess&) const = default;
};

}  // namespace kestrix
