#include "KestrixKit/Linux/Ejecting/EjectTargetFacts.h"

namespace kestrix {

EjectMethod EjectTargetFacts::method() const {
    if (!isBlockDevice) return EjectMethod::nothingToEject;
    if (isLoop) return EjectMethod::detachLoop;
    if (isOptical) return EjectMethod::ejectMedia;
    // Removing a fixed disk from the kernel would take it away until the next boot.
    if (canDelete && isHotPluggable) return EjectMethod::powerOff;
    return EjectMethod::unsupported;
}

}  // namespace kestrix
