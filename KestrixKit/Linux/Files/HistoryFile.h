#pragma once

#include <optional>
#include <string>

#include "KestrixKit/History/History.h"
#include "FileSupport/AtomicFile.h"

namespace kestrix {

// The history in the file; an empty history when the file is missing, unreadable or not a
// history file, so that the next save replaces it.
History loadHistory(const std::string& path);

// Writes the whole history atomically; returns the failure, with the old file left intact.
std::optional<std::string> saveHistory(const History& history, const std::string& path,
                                       const filesupport::ReplaceFile& replace = {});

}  // namespace kestrix
