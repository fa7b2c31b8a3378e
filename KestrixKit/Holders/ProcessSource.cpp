#include "KestrixKit/Holders/ProcessSource.h"

#include <algorithm>

namespace kestrix {
namespace {

std::vector<VnodeRef> onDrive(std::vector<VnodeRef> references, const DriveScope& drive) {
    std::erase_if(references, [&](const VnodeRef& reference) { return !drive.contains(reference); });
    return references;
}

}  // namespace

DriveScope ProcessSource::mountedPart(const DriveScope& drive) const { return drive; }

std::vector<std::optional<DriveReferences>> ProcessSource::referencesOfEach(const std::vector<std::int32_t>& pids,
                                                                           const DriveScope& drive, bool deep,
                                                                           bool /*mountNamespaces*/) const {
    std::vector<std::optional<DriveReferences>> all;
    all.reserve(pids.size());
    for (const std::int32_t pid : pids) {
        std::optional<std::vector<VnodeRef>> files = openFiles(pid);
        if (!files) {
            all.emplace_back();
            continue;
        }
        DriveReferences references{.openFiles = onDrive(std::move(*files), drive)};
        if (std::optional<VnodeRef> folder = currentFolder(pid); folder && drive.contains(*folder)) {
            references.currentFolder = std::move(folder);
        }
        if (std::optional<ProcessBasics> found = basics(pid);
            found && found->executablePath && drive.containsPath(*found->executablePath)) {
            references.executablePath = std::move(found->executablePath);
        }
        if (deep) {
            if (std::optional<std::vector<VnodeRef>> mapped = mappedFiles(pid)) {
                references.mappedFiles = onDrive(std::move(*mapped), drive);
            }
        }
        all.push_back(std::move(references));
    }
    return all;
}

}  // namespace kestrix
