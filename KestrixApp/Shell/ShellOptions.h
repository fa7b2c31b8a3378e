#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kestrix::shell {

// An action run from a terminal or a keyboard shortcut against the running app.
struct ShellAction {
    enum class Kind { ejectAll, eject };
    Kind kind = Kind::ejectAll;
    std::string driveName;  // for eject
};

// What `kestrix` was asked to do, from its command line.
struct ShellOptions {
    std::optional<std::string> worldPath;
    bool demo = false;
    bool trace = false;
    std::optional<std::string> historyPath;
    // Started at login or by D-Bus activation: into the tray, no window.
    bool background = false;
    // Renders the views into PNG files in this folder, off screen, and ends.
    std::optional<std::string> screenshotFolder;
    bool version = false;
    bool help = false;
    std::optional<ShellAction> action;
    std::vector<std::string> links;

    bool isSimulated() const { return demo || worldPath.has_value(); }
};

struct ShellOptionsError {
    std::string message;
};

std::variant<ShellOptions, ShellOptionsError> parseShellOptions(const std::vector<std::string>& arguments);

extern const char* const shellUsage;

}  // namespace kestrix::shell
