#pragma once

#include <functional>
#include <optional>
#include <string>

namespace kestrix {

// The value of an environment variable, nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

std::optional<std::string> processEnvironment(const std::string& name);

// The user's data folder: $XDG_DATA_HOME, else ~/.local/share; nothing without a home folder.
std::optional<std::string> userDataFolder(const EnvironmentLookup& environment = processEnvironment);

// Where the user's eject history lives: "com.orvane.kestrix/history.json" in the user's data
// folder ($XDG_DATA_HOME, else ~/.local/share); nothing when there is no home folder to use.
std::optional<std::string> historyFileLocation(const EnvironmentLookup& environment = processEnvironment);

}  // namespace kestrix
