#include "KestrixKit/Holders/ProcessSource.h"

#include <algorithm>

namespace kestrix {

std::optional<std::vector<VnodeRef>> ProcessSource::openFilesOn(std::int32_t pid, const DriveScope& drive) const {
    std::optional<std::vector<VnodeRef>> files = openFiles(pid);
    if (files) std::erase_if(*files, [&](const VnodeRef& file) { return !drive.contains(file); });
    return files;
}

}  // namespace kestrix
