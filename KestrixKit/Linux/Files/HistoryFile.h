#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "KestrixKit/History/History.h"
#include "FileSupport/AtomicFile.h"

namespace kestrix {

struct LoadedHistory {
    // Empty when the file is missing, or is there but cannot be read as a history.
    History history;
    // Set when the file is there but could not be read: what happened, and where the old file
    // was kept (the path with ".unreadable" added, replacing an older copy), for the user to read.
    std::optional<std::string> notice;

    bool operator==(const LoadedHistory&) const = default;
};

// The history in the file. A file that is there but unreadable (cut short, from another version,
// not readable by this user) is moved aside first, so that the next save does not destroy it. A
// device, FIFO or folder is never read, moved or replaced.
LoadedHistory loadHistory(const std::string& path);

// Writes the whole history atomically; returns the failure, with the old file left intact. A
// path that names something other than a regular file is refused.
std::optional<std::string> saveHistory(const History& history, const std::string& path,
                                       const filesupport::ReplaceFile& replace = {});

struct HistoryUpdate {
    LoadedHistory loaded;
    // Set when the changed history could not be saved.
    std::optional<std::string> saveFailure;
    // False when the lock was not had within the wait: nothing was loaded, changed or saved.
    bool locked = true;
};

// Loads the history, lets `change` edit it and saves it when `change` returns true, all while
// holding an exclusive lock on the file beside it ("history.json.lock"), so that commands saving
// at the same time never lose each other's events. Temporary files that a killed save left
// behind are removed with the save. `loaded.history` is the history as changed. With a lock wait,
// a lock that another process holds longer gives up (locked false) rather than waiting on.
HistoryUpdate updateHistory(const std::string& path, const std::function<bool(History&)>& change,
                            std::optional<std::chrono::milliseconds> lockWait = std::nullopt);

}  // namespace kestrix
