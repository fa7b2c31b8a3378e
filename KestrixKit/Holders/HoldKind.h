#pragma once

#include <optional>
#include <string_view>

namespace kestrix {

// How a process holds a drive.
enum class HoldKind { openFile, currentFolder, runningFrom, mappedFile };

std::string_view rawValue(HoldKind kind);
std::optional<HoldKind> holdKindFromRawValue(std::string_view raw);

}  // namespace kestrix
