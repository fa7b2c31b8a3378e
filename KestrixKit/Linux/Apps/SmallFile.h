#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <variant>

#include "FileSupport/RegularFile.h"

namespace kestrix {

using filesupport::FinalLink;

// The contents of a regular file of at most maxBytes; nothing for anything else (a folder, a
// device, a pipe that would never end, a larger file, no permission). With FinalLink::refuse a
// symbolic link in the last place gives nothing too, for files whose place another user controls.
inline std::optional<std::string> readSmallFile(const std::string& path, std::size_t maxBytes, FinalLink link) {
    auto contents = filesupport::readRegularFile(path, maxBytes, link);
    if (auto* text = std::get_if<std::string>(&contents)) return std::move(*text);
    return std::nullopt;
}

}  // namespace kestrix
