#include "KestrixKit/Holders/ProcessSource.h"

#include <algorithm>

namespace kestrix {

std::optional<std::vector<VnodeRef>> ProcessSource::openFilesOn(std::int32_t pid, const DriveScope& drive) const {
    std::optional<std::vector<VnodeRef>> files = openFiles(pid);
    if (files) std::erase_if(*files, [&](const VnodeRef& file) { return !drive.contains(file); });
    return files;
}

std::vector<std::optional<std::vector<VnodeRef>>> ProcessSource::openFilesOfEach(const std::vector<std::int32_t>& pids,
                                                                               const DriveScope& drive) const {
    std::vector<std::optional<std::vector<VnodeRef>>> lists;
    lists.reserve(pids.size());
    for (const std::int32_t pid : pids) lists.push_back(openFilesOn(pid, drive));
    return lists;
}

}  // namespace kestrix
