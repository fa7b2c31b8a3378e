#pragma once

#include <optional>
#include <vector>

#include "KestrixKit/Holders/KernelHolder.h"
#include "KestrixKit/Holders/MountNamespaces.h"
#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

// What the kernel keeps a drive busy with, and how many mount namespaces were closed to the look
// (counted with the hidden processes).
struct KernelScan {
    std::vector<KernelHolder> holders;
    int hidden = 0;

    bool operator==(const KernelScan&) const = default;
};

// What the kernel keeps a drive busy with, read as the system is now: while the drive is mounted
// and after it was unmounted here. Never fails; what cannot be read is not reported.
class KernelHolderSource {
public:
    virtual ~KernelHolderSource() = default;
    // namespaces: those a process scan just met, when it met any; without them, the source finds
    // them itself.
    virtual KernelScan holders(const Drive& drive, const std::optional<MountNamespaces>& namespaces) const = 0;
};

}  // namespace kestrix
