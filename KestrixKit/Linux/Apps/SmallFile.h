#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace kestrix {

enum class FinalLink { follow, refuse };

// The contents of a regular file of at most maxBytes. Anything else (a folder, a device, a
// pipe that would never end, a larger file, no permission) gives nothing. With
// FinalLink::refuse a symbolic link in the last place gives nothing too, for files whose
// place another user controls.
std::optional<std::string> readSmallFile(const std::string& path, std::size_t maxBytes, FinalLink link);

}  // namespace kestrix
