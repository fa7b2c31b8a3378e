#include "kestrixctl/Commands/Commands.h"

#include <array>
#include <utility>

namespace kestrixctl {

Command findCommand(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, Command>, 7> table{{
        {"drives", runDrives},
        {"check", runCheck},
        {"history", runHistory},
        {"eject", runEject},
        {"quit-and-eject", runQuitAndEject},
        {"eject-all", runEjectAll},
        {"url", runUrl},
    }};
    for (const auto& [commandName, command] : table) {
        if (commandName == name) return command;
    }
    return nullptr;
}

}  // namespace kestrixctl
