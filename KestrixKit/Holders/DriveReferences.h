#pragma once

#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Holders/VnodeRef.h"

namespace kestrix {

// What one process refers to on a drive: the references a scan turns into holds.
struct DriveReferences {
    std::vector<VnodeRef> openFiles;
    std::optional<VnodeRef> currentFolder;
    std::optional<std::string> executablePath;
    // Only in a deep scan.
    std::vector<VnodeRef> mappedFiles;

    bool operator==(const DriveReferences&) const = default;
};

}  // namespace kestrix
