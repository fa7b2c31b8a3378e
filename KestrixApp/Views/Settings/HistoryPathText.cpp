#include "KestrixApp/Views/Settings/HistoryPathText.h"

namespace kestrix::views {

std::string shownHistoryPath(Vocabulary vocabulary, const EnvironmentLookup& environment) {
    if (vocabulary == Vocabulary::document) return "~/Library/Application Support/com.orvane.kestrix/history.json";
    const std::optional<std::string> location = historyFileLocation(environment);
    if (!location) return "~/.local/share/com.orvane.kestrix/history.json";
    const std::optional<std::string> home = environment("HOME");
    if (home && !home->empty() && location->starts_with(*home + "/")) return std::string("~").append(*location, home->size());
    return *location;
}

}  // namespace kestrix::views
