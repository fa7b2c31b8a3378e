#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KestrixKit/Linux/Files/HistoryLocation.h"

namespace kestrix {

// The folders desktop entries are found in, the one that wins a tie first: the user's
// $XDG_DATA_HOME/applications, then the applications folder of each of $XDG_DATA_DIRS
// (/usr/local/share:/usr/share when unset). Relative folders are ignored.
std::vector<std::string> applicationFolders(const EnvironmentLookup& environment);

// The desktop file id of an entry by its path below an applications folder: the subfolders
// joined by "-", without ".desktop" ("kde4/konsole.desktop" → "kde4-konsole"). Absent for
// other files.
std::optional<std::string> desktopFileID(std::string_view relativePath);

}  // namespace kestrix
