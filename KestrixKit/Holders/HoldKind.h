#pragma once

#include <optional>
#include <string_view>

namespace kestrix {

// How a process holds a drive. An app holds a watchedFile when it watches a document on the
// drive for changes (as editors do) without a descriptor open on it: it may still write it.
enum class HoldKind { openFile, currentFolder, runningFrom, mappedFile, watchedFile };

std::string_view rawValue(HoldKind kind);
std::optional<HoldKind> holdKindFromRawValue(std::string_view raw);

}  // namespace kestrix
