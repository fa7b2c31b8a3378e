#pragma once

#include "KestrixKit/Ejection/DiskEjecting.h"

namespace kestrix::desktop::test {

// Ejects every drive at once and counts the requests.
class CountingEjector : public DiskEjecting {
public:
    int requests = 0;

    EjectOutcome eject(const Drive& /*drive*/, bool /*force*/) override {
        ++requests;
        return EjectOutcome{EjectOutcome::Ejected{}};
    }
    ReleaseOutcome release(const KernelHolder& /*holder*/) override { return {.released = true, .message = {}}; }
};

}  // namespace kestrix::desktop::test
