#include "KestrixKit/Holders/KernelRemedy.h"

namespace kestrix {

std::optional<KernelRemedy> kernelRemedy(const KernelHolder& holder) {
    switch (holder.kind) {
    case KernelHoldKind::diskImage:
        if (holder.device.empty()) return std::nullopt;
        return holder.mountPath ? KernelRemedy::ejectImage : KernelRemedy::detachImage;
    case KernelHoldKind::swapArea:
        // A partition's swap names its device; a swap file's has none.
        if (holder.device.empty()) return std::nullopt;
        return KernelRemedy::stopSwap;
    case KernelHoldKind::innerMount:
    case KernelHoldKind::mountNamespace:
    case KernelHoldKind::stackedDevice: break;
    }
    return std::nullopt;
}

}  // namespace kestrix
