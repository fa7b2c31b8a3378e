#pragma once

#include <string>

#include "KestrixKit/Holders/ProcessSource.h"

namespace kestrix {

class ProcfsFastScan;

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
    // Reads the path only of the descriptors that can lie on the drive (see ProcfsFastScan) and
    // the write flag only of those that do.
    std::optional<std::vector<VnodeRef>> openFilesOn(std::int32_t pid, const DriveScope& drive) const override;
    // Reads the processes on a few threads: listing descriptors is most of a scan's time.
    std::vector<std::optional<std::vector<VnodeRef>>> openFilesOfEach(const std::vector<std::int32_t>& pids,
                                                                     const DriveScope& drive) const override;

private:
    // Every descriptor, or with a drive only those on it; with a fast scan, reading fewer paths.
    std::optional<std::vector<VnodeRef>> descriptors(std::int32_t pid, const DriveScope* drive,
                                                     const ProcfsFastScan* scan) const;
    ProcfsFastScan fastScan(const DriveScope& drive) const;
    std::string processPath(std::int32_t pid, const char* entry) const;

    std::string root_;
};

}  // namespace kestrix
