#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "KestrixKit/Holders/DriveScope.h"
#include "KestrixKit/Holders/ProcessBasics.h"
#include "KestrixKit/Holders/VnodeRef.h"

namespace kestrix {

// Read-only process queries behind the holder scanner. A process that may not be inspected,
// or is gone, yields absent results; nothing here reports an error.
class ProcessSource {
public:
    virtual ~ProcessSource() = default;

    // Every positive process id the system knows.
    virtual std::vector<std::int32_t> allPIDs() const = 0;
    virtual std::optional<ProcessBasics> basics(std::int32_t pid) const = 0;
    // Open files and folders; absent when the descriptor list cannot be read, empty when there are none.
    virtual std::optional<std::vector<VnodeRef>> openFiles(std::int32_t pid) const = 0;
    virtual std::optional<VnodeRef> currentFolder(std::int32_t pid) const = 0;
    // Files backing the memory regions, each path once, lowest address first.
    virtual std::optional<std::vector<VnodeRef>> mappedFiles(std::int32_t pid) const = 0;

    // The open files that lie on the drive, for a scan that knows the drive up front: absent
    // exactly when openFiles is, and otherwise openFiles without the others. A source may answer
    // this faster by skipping work for files that are not on the drive.
    virtual std::optional<std::vector<VnodeRef>> openFilesOn(std::int32_t pid, const DriveScope& drive) const;
    // openFilesOn for each of the processes, in their order; a source may read them in parallel.
    virtual std::vector<std::optional<std::vector<VnodeRef>>> openFilesOfEach(const std::vector<std::int32_t>& pids,
                                                                             const DriveScope& drive) const;
};

}  // namespace kestrix
