#pragma once

#include <memory>

#include "KestrixKit/Holders/KernelHolderSource.h"
#include "KestrixKit/Simulated/SimulatedSystem.h"

namespace kestrix {

// What the kernel keeps a drive busy with, as the world's volumes say ("kernelHolders").
class SimulatedKernelHolders : public KernelHolderSource {
public:
    explicit SimulatedKernelHolders(std::shared_ptr<const SimulatedSystem> system) : system_(std::move(system)) {}

    std::vector<KernelHolder> holders(const Drive& drive) const override;

private:
    std::shared_ptr<const SimulatedSystem> system_;
};

}  // namespace kestrix
