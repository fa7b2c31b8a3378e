#pragma once

#include "KestrixKit/Ejection/EjectOutcome.h"
#include "KestrixKit/Ejection/ReleaseOutcome.h"
#include "KestrixKit/Holders/KernelHolder.h"
#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

// Unmounts every volume of a drive and ejects its device. Never retries or waits for anything
// but the system's answer; every failure is an outcome.
class DiskEjecting {
public:
    virtual ~DiskEjecting() = default;
    virtual EjectOutcome eject(const Drive& drive, bool force) = 0;
    // Lets go of what the kernel holds a drive with, where the system can: detaches a disk image
    // that is not mounted (its loop device), or stops swap on a partition (see kernelRemedy).
    // Anything else is refused.
    virtual ReleaseOutcome release(const KernelHolder& holder) = 0;
};

}  // namespace kestrix
