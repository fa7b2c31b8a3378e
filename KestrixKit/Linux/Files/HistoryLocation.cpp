#include "KestrixKit/Linux/Files/HistoryLocation.h"

#include <cstdlib>

#include "FileSupport/XdgFolder.h"

namespace kestrix {

std::optional<std::string> processEnvironment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::optional<std::string> userDataFolder(const EnvironmentLookup& environment) {
    return filesupport::xdgFolder(environment("XDG_DATA_HOME"), environment("HOME"), ".local/share");
}

std::optional<std::string> historyFileLocation(const EnvironmentLookup& environment) {
    const auto dataFolder = userDataFolder(environment);
    if (!dataFolder) return std::nullopt;
    return (*dataFolder == "/" ? "" : *dataFolder) + "/com.orvane.kestrix/history.json";
}

}  // namespace kestrix
