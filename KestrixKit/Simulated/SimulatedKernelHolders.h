#pragma once

#include <memory>

#include "KestrixKit/Holders/KernelHolderSource.h"
#include "KestrixKit/Simulated/SimulatedSystem.h"

namespace kestrix {

// What the kernel keeps a drive busy with, as the world's volumes say ("kernelHolders").
class SimulatedKernelHolders : public KernelHolderSource {
public:
    explicit SimulatedKernelHolders(std::shared_ptr<const SimulatedSystem> system) : system_(std::move(system)) {}

    KernelScan holders(const Drive& drive, const std::optional<MountNamespaces>& namespaces) const override;

private:
    std::shared_ptr<const SimulatedSystem> system_;
};

}  // namespace kestrix
