#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Linux/Apps/DesktopEntry.h"

namespace kestrix {

// A desktop entry with the id and file it was found by.
struct FoundDesktopEntry {
    std::string id;
    std::string path;
    DesktopEntry entry;
};

// The desktop entries of the applications folders, by id or by file. The folders are listed
// on first use and every entry is read once, so that the lookups of one scan cost little;
// make a new catalog for a new scan to see entries added since. Safe to use from any thread.
class DesktopEntryCatalog {
public:
    // folders as applicationFolders gives them; locales as preferredLocales gives them.
    DesktopEntryCatalog(std::vector<std::string> folders, std::vector<std::string> locales);

    std::optional<FoundDesktopEntry> byID(const std::string& id) const;
    // An entry file named by a launch: its id is its place below an applications folder, else
    // its file name.
    std::optional<FoundDesktopEntry> byPath(const std::string& path) const;
    // The entry of an app whose program (Exec, or TryExec) is the executable, by file name or,
    // for a program given by its path, by the file it leads to. Entries that run in a terminal or
    // start an interpreter or a shell are left out; one shown in menus wins over one that is not,
    // then the first id. Every entry is read on the first call.
    std::optional<FoundDesktopEntry> byExecutable(const std::string& executablePath) const;

private:
    std::optional<DesktopEntry> entryAt(const std::string& path) const;
    void listFolders() const;

    std::vector<std::string> folders_;
    std::vector<std::string> locales_;
    mutable std::mutex mutex_;
    mutable std::optional<std::map<std::string, std::string>> pathsByID_;
    mutable std::map<std::string, std::optional<DesktopEntry>> entriesByPath_;
    // File names of programs, each with the ids of the entries that start it.
    mutable std::optional<std::map<std::string, std::vector<std::string>>> idsByProgram_;
};

}  // namespace kestrix
