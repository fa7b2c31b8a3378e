#include "KestrixKit/Simulated/SimulatedKernelHolders.h"

#include <algorithm>

namespace kestrix {

KernelScan SimulatedKernelHolders::holders(const Drive& drive, const std::optional<MountNamespaces>& /*namespaces*/) const {
    KernelScan found;
    const std::vector<std::string> mountPaths = drive.mountPaths();
    for (const WorldVolume& volume : system_->world().volumes) {
        if (std::find(mountPaths.begin(), mountPaths.end(), volume.facts.path) == mountPaths.end()) continue;
        found.holders.insert(found.holders.end(), volume.kernelHolders.begin(), volume.kernelHolders.end());
    }
    return found;
}

}  // namespace kestrix
