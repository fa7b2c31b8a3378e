#pragma once

#include "KestrixKit/Ejection/EjectOutcome.h"
#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

// Unmounts every volume of a drive and ejects its device. Never retries or waits for anything
// but the system's answer; every failure is an outcome.
class DiskEjecting {
public:
    virtual ~DiskEjecting() = default;
    virtual EjectOutcome eject(const Drive& drive, bool force) = 0;
};

}  // namespace kestrix
