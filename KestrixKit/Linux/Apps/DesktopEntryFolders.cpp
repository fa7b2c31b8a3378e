#include "KestrixKit/Linux/Apps/DesktopEntryFolders.h"

#include <algorithm>

namespace kestrix {
namespace {

void appendApplications(std::string_view dataFolder, std::vector<std::string>& folders) {
    while (dataFolder.size() > 1 && dataFolder.ends_with('/')) dataFolder.remove_suffix(1);
    if (!dataFolder.starts_with('/')) return;
    std::string folder = (dataFolder == "/" ? std::string() : std::string(dataFolder)) + "/applications";
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(std::move(folder));
}

}  // namespace

std::vector<std::string> applicationFolders(const EnvironmentLookup& environment) {
    std::vector<std::string> folders;
    if (const auto userData = userDataFolder(environment)) appendApplications(*userData, folders);
    std::string dataFolders = environment("XDG_DATA_DIRS").value_or("");
    if (dataFolders.empty()) dataFolders = "/usr/local/share:/usr/share";
    std::string_view rest = dataFolders;
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        appendApplications(rest.substr(0, colon), folders);
        rest.remove_prefix(colon == std::string_view::npos ? rest.size() : colon + 1);
    }
    return folders;
}

std::optional<std::string> desktopFileID(std::string_view relativePath) {
    constexpr std::string_view suffix = ".desktop";
    if (!relativePath.ends_with(suffix) || relativePath.size() == suffix.size() || relativePath.starts_with('/')) {
        return std::nullopt;
    }
    std::string id(relativePath.substr(0, relativePath.size() - suffix.size()));
    std::replace(id.begin(), id.end(), '/', '-');
    return id;
}

}  // namespace kestrix
