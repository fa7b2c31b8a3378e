#pragma once

#include <memory>

#include "KestrixKit/Ejection/DiskEjecting.h"
#include "KestrixKit/Simulated/SimulatedSystem.h"

namespace kestrix {

// Answers each eject with the drive's next outcome in the world (ejected when none is left).
// A drive that ejects or is unmounted leaves the world's volumes for the rest of the run, and a
// disk image it was leaves the kernel's holders with it. A disk image detached or swap stopped
// leaves the world's kernel holders.
class SimulatedEjector : public DiskEjecting {
public:
    explicit SimulatedEjector(std::shared_ptr<SimulatedSystem> system) : system_(std::move(system)) {}
    EjectOutcome eject(const Drive& drive, bool force) override;
    ReleaseOutcome release(const KernelHolder& holder) override;

private:
    std::shared_ptr<SimulatedSystem> system_;
};

}  // namespace kestrix
