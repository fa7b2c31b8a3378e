#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace filesupport {

// One of the user's XDG base folders: the variable's value ($XDG_DATA_HOME, $XDG_CACHE_HOME…)
// when it is an absolute path, else the home folder's subfolder that stands for it
// (".local/share", ".cache"…) when the home folder is absolute; nothing otherwise. Relative
// values are not meant for these variables and count as unset. Trailing slashes are dropped,
// except for the root folder itself.
std::optional<std::string> xdgFolder(const std::optional<std::string>& xdgValue,
                                     const std::optional<std::string>& home, std::string_view homeSubfolder);

}  // namespace filesupport
