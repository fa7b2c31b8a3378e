#include "KestrixKit/Linux/Files/HistoryLocation.h"

#include <cstdlib>

namespace kestrix {
namespace {

// Relative values are not meant for this variable and are ignored, as for an unset one.
std::optional<std::string> absoluteFolder(const EnvironmentLookup& environment, const std::string& name) {
    auto value = environment(name);
    if (!value || !value->starts_with('/')) return std::nullopt;
    while (value->size() > 1 && value->ends_with('/')) value->pop_back();
    return value;
}

}  // namespace

std::optional<std::string> processEnvironment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::optional<std::string> userDataFolder(const EnvironmentLookup& environment) {
    if (auto dataFolder = absoluteFolder(environment, "XDG_DATA_HOME")) return dataFolder;
    const auto home = absoluteFolder(environment, "HOME");
    if (!home) return std::nullopt;
    return (*home == "/" ? "" : *home) + "/.local/share";
}

std::optional<std::string> historyFileLocation(const EnvironmentLookup& environment) {
    auto dataFolder = userDataFolder(environment);
    if (!dataFolder) return std::nullopt;
    if (*dataFolder == "/") dataFolder->clear();
    return *dataFolder + "/com.orvane.kestrix/history.json";
}

}  // namespace kestrix
