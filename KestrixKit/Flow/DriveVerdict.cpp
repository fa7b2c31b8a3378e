#include "KestrixKit/Flow/DriveVerdict.h"

#include <array>

namespace kestrix {

std::vector<Holder> DriveVerdict::holders() const {
    if (const auto* inUse = as<InUse>()) return inUse->holders;
    if (const auto* waiting = as<WaitingOnApps>()) return waiting->holders;
    if (const auto* detached = as<Detached>()) return detached->holders;
    if (const auto* held = as<HeldByMacOS>(); held && held->holder) return {*held->holder};
    return {};
}

std::vector<KernelHolder> DriveVerdict::kernelHolders() const {
    if (const auto* inUse = as<InUse>()) return inUse->kernelHolders;
    if (const auto* detached = as<Detached>()) return detached->kernelHolders;
    return {};
}

std::string_view DriveVerdict::caseName() const {
    static constexpr std::array<std::string_view, 8> names{
        "inUse", "heldByMacOS", "waitingOnApps", "backupRunning", "failed", "ejected", "unmountedOnly", "detached"};
    return names[value.index()];
}

}  // namespace kestrix
