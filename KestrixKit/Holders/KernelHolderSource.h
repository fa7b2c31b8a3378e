#pragma once

#include <vector>

#include "KestrixKit/Holders/KernelHolder.h"
#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

// What the kernel keeps a drive busy with, read as the system is now: while the drive is mounted
// and after it was unmounted here. Never fails; what cannot be read is not reported.
class KernelHolderSource {
public:
    virtual ~KernelHolderSource() = default;
    virtual std::vector<KernelHolder> holders(const Drive& drive) const = 0;
};

}  // namespace kestrix
