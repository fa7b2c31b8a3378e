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

    bool operator==(const ProcessBasics&) const = default;
};

}  // namespace kestrix
