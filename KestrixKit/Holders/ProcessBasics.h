#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix {

// What the system tells about one process.
struct ProcessBasics {
    std::int32_t pid = 0;
    // The display name: the app bundle's or executable's name, else the short command name.
    std::string name;
    std::optional<std::string> executablePath;
    std::uint32_t uid = 0;
    std::int32_t parentPID = 0;
    // The command's own name where it differs from name: a script's name when the executable
    // is its interpreter, or a process that renamed itself. Linux only.
    std::optional<std::string> commandName;
    // When the process started (see ProcessIdentity); absent where the system does not say.
    std::optional<std::uint64_t> startTime;
    // The name of a program it started and that still runs (a shell's job), absent when none.
    std::optional<std::string> job;

    bool operator==(const ProcessBasics&) const = default;
};

}  // namespace kestrix
