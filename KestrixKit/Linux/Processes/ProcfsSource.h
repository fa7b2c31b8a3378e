#pragma once

#include <string>

#include "KestrixKit/Holders/ProcessSource.h"

namespace kestrix {

// The process table as /proc shows it. Another user's process whose descriptors may not be
// read, and a process that is gone, give absent results.
class ProcfsSource : public ProcessSource {
public:
    explicit ProcfsSource(std::string procRoot = "/proc") : root_(std::move(procRoot)) {}

    std::vector<std::int32_t> allPIDs() const override;
    std::optional<ProcessBasics> basics(std::int32_t pid) const override;
    std::optional<std::vector<VnodeRef>> openFiles(std::int32_t pid) const override;
    std::optional<VnodeRef> currentFolder(std::int32_t pid) const override;
    std::optional<std::vector<VnodeRef>> mappedFiles(std::int32_t pid) const override;
    // Only the mount paths where one of the drive's devices is mounted right now.
    DriveScope mountedPart(const DriveScope& drive) const override;
    // Reads the processes on every core, judging by device and mount before any path is read
    // (see ProcfsDriveReader): a different device means a file is not on the drive.
    std::vector<std::optional<DriveReferences>> referencesOfEach(const std::vector<std::int32_t>& pids,
                                                                const DriveScope& drive, bool deep,
                                                                bool mountNamespaces) const override;

private:
    std::string processPath(std::int32_t pid, const char* entry) const;
    // A process that this one started and that still runs.
    std::optional<std::int32_t> firstChild(std::int32_t pid) const;

    std::string root_;
};

}  // namespace kestrix
