#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "KestrixKit/Holders/DriveReferences.h"
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

    // The part of the drive that is mounted where the drive says: the mount paths where one of
    // its devices is still mounted, and those devices. A source that cannot tell returns the drive.
    virtual DriveScope mountedPart(const DriveScope& drive) const;
    // What each process refers to on the drive, in the order of the pids: absent where the open
    // files cannot be read. The mapped files are read only when deep. Judged by the drive's rules
    // (DriveScope::contains; the executable by its path); a source that knows more may judge
    // better, read in parallel, and skip what cannot lie on the drive. With mountNamespaces, a
    // source that knows each process's mount namespace tells it too.
    virtual std::vector<std::optional<DriveReferences>> referencesOfEach(const std::vector<std::int32_t>& pids,
                                                                        const DriveScope& drive, bool deep,
                                                                        bool mountNamespaces) const;
};

}  // namespace kestrix
