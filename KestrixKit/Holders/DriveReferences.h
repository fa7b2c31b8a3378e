#pragma once

#include <cstdint>
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
    // Regular files it watches for changes (inotify) with no descriptor open on them.
    std::vector<VnodeRef> watchedFiles;
    // The mount namespace it runs in (the number its /proc/PID/ns/mnt link shows), when asked for and
    // known; closed when the system refused to tell.
    std::optional<std::uint64_t> mountNamespace;
    bool mountNamespaceClosed = false;

    bool operator==(const DriveReferences&) const = default;
};

}  // namespace kestrix
