#include "KestrixKit/Linux/Apps/DesktopEntryCatalog.h"

#include <filesystem>

#include "KestrixKit/Linux/Apps/DesktopEntryFolders.h"
#include "KestrixKit/Linux/Apps/SmallFile.h"
#include "KestrixKit/Text/PlainText.h"

namespace kestrix {
namespace {

namespace fs = std::filesystem;

// Desktop entries are a few kilobytes; anything far larger is no entry.
constexpr std::size_t largestEntry = 1 << 20;
// Subfolders are an old habit of a few packages; deeper trees are not entries.
constexpr int deepestSubfolder = 3;

}  // namespace

DesktopEntryCatalog::DesktopEntryCatalog(std::vector<std::string> folders, std::vector<std::string> locales)
    : folders_(std::move(folders)), locales_(std::move(locales)) {}

void DesktopEntryCatalog::listFolders() const {
    pathsByID_.emplace();
    for (const std::string& folder : folders_) {
        std::error_code error;
        fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied, error);
        for (const fs::recursive_directory_iterator end; !error && walk != end; walk.increment(error)) {
            if (walk.depth() >= deepestSubfolder) walk.disable_recursion_pending();
            std::error_code typeError;
            if (!walk->is_regular_file(typeError)) continue;
            const std::optional<std::string> id = desktopFileID(walk->path().lexically_relative(folder).string());
            // The first folder that has an id wins.
            if (id) pathsByID_->emplace(*id, walk->path().string());
        }
    }
}

std::optional<DesktopEntry> DesktopEntryCatalog::entryAt(const std::string& path) const {
    if (const auto known = entriesByPath_.find(path); known != entriesByPath_.end()) return known->second;
    const std::optional<std::string> text = readSmallFile(path, largestEntry, FinalLink::follow);
    std::optional<DesktopEntry> entry = text ? parseDesktopEntry(*text, locales_) : std::nullopt;
    entriesByPath_.emplace(path, entry);
    return entry;
}

std::optional<FoundDesktopEntry> DesktopEntryCatalog::byID(const std::string& id) const {
    const std::lock_guard lock(mutex_);
    if (!pathsByID_) listFolders();
    const auto path = pathsByID_->find(id);
    if (path == pathsByID_->end()) return std::nullopt;
    std::optional<DesktopEntry> entry = entryAt(path->second);
    if (!entry) return std::nullopt;
    return FoundDesktopEntry{.id = id, .path = path->second, .entry = std::move(*entry)};
}

std::optional<FoundDesktopEntry> DesktopEntryCatalog::byPath(const std::string& path) const {
    std::optional<std::string> id;
    for (const std::string& folder : folders_) {
        if (path.starts_with(folder + "/")) {
            id = desktopFileID(std::string_view(path).substr(folder.size() + 1));
            break;
        }
    }
    if (!id) id = desktopFileID(text::lastPathComponent(path));
    if (!id) return std::nullopt;
    const std::lock_guard lock(mutex_);
    std::optional<DesktopEntry> entry = entryAt(path);
    if (!entry) return std::nullopt;
    return FoundDesktopEntry{.id = std::move(*id), .path = path, .entry = std::move(*entry)};
}

}  // namespace kestrix
