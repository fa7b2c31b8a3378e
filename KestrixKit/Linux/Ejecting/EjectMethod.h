#pragma once

namespace kestrix {

// How the device of a drive is ejected once its file systems are unmounted.
enum class EjectMethod {
    nothingToEject,  // no such block device: there is nothing left to do
    detachLoop,      // a loop device: detach its image
    ejectMedia,      // an optical drive: open the tray
    powerOff,        // a hot-pluggable disk: flush it and remove it from the kernel
    unsupported,     // a device that stays attached (an internal disk, a memory card slot)
};

}  // namespace kestrix
