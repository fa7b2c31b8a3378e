#include "KestrixKit/Simulated/SimulatedKernelHolders.h"

#include <algorithm>

namespace kestrix {

std::vector<KernelHolder> SimulatedKernelHolders::holders(const Drive& drive) const {
    std::vector<KernelHolder> found;
    const std::vector<std::string> mountPaths = drive.mountPaths();
    for (const WorldVolume& volume : system_->world().volumes) {
        if (std::find(mountPaths.begin(), mountPaths.end(), volume.facts.path) == mountPaths.end()) continue;
        found.insert(found.end(), volume.kernelHolders.begin(), volume.kernelHolders.end());
    }
    return found;
}

}  // namespace kestrix
