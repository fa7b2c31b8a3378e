#include "KestrixKit/Linux/Apps/DesktopEntryCatalog.h"

#include <algorithm>
#include <filesystem>

#include "KestrixKit/Holders/AppRule.h"
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

std::optional<FoundDesktopEntry> DesktopEntryCatalog::byExecutable(const std::string& executablePath) const {
    const std::lock_guard lock(mutex_);
    if (!pathsByID_) listFolders();
    if (!idsByProgram_) {
        idsByProgram_.emplace();
        for (const auto& [id, path] : *pathsByID_) {
            const std::optional<DesktopEntry> entry = entryAt(path);
            if (!entry || entry->terminal) continue;
            std::vector<std::string> names;
            for (const std::optional<std::string>& program : {entry->program, entry->tryExec}) {
                if (!program || AppRule::isInterpreterOrShell(*program)) continue;
                names.push_back(text::lastPathComponent(*program));
                // A program given by its path may be a link to the file that runs.
                std::error_code error;
                if (program->starts_with('/')) {
                    const fs::path target = fs::canonical(*program, error);
                    if (!error) names.push_back(target.filename().string());
                }
            }
            std::sort(names.begin(), names.end());
            names.erase(std::unique(names.begin(), names.end()), names.end());
            for (const std::string& name : names) (*idsByProgram_)[name].push_back(id);
        }
    }
    const auto ids = idsByProgram_->find(text::lastPathComponent(executablePath));
    if (ids == idsByProgram_->end()) return std::nullopt;
    std::optional<FoundDesktopEntry> chosen;
    for (const std::string& id : ids->second) {
        const std::string& path = pathsByID_->at(id);
        std::optional<DesktopEntry> entry = entryAt(path);
        if (!entry || (chosen && (entry->noDisplay || !chosen->entry.noDisplay))) continue;
        chosen = FoundDesktopEntry{.id = id, .path = path, .entry = std::move(*entry)};
    }
    return chosen;
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
