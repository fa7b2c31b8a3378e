#pragma once

#include <filesystem>
#include <string>

#include "KestrixKit/Ejection/DiskEjecting.h"

namespace kestrix {

// Ejects through the kernel: unmounts every file system of the drive (umount2), then detaches a
// loop device, opens an optical drive's tray or removes a hot-pluggable disk. Needs the right to
// unmount (root or CAP_SYS_ADMIN); without it every unmount is refused as not permitted.
// A file system that lives on once unmounted here (detached with files open, mounted in another
// mount namespace) leaves the device attached, and the outcome says so.
// While another drive is mounted inside this one, nothing is unmounted, forced or not, and the
// refusal names that drive. A loop device is set to go with its last mount before anything is
// unmounted, so that an eject cut short leaves no device behind.
class UnmountEjector : public DiskEjecting {
public:
    // Where the system's tables are; a test lays out its own.
    struct Paths {
        std::filesystem::path sysfsRoot = "/sys";
        std::string mountInfo = "/proc/self/mountinfo";
        std::filesystem::path devRoot = "/dev";
    };

    UnmountEjector() = default;
    explicit UnmountEjector(Paths paths) : paths_(std::move(paths)) {}

    EjectOutcome eject(const Drive& drive, bool force) override;
    // Detaches a loop device (LOOP_CLR_FD) or stops swap on a partition (swapoff), as root.
    ReleaseOutcome release(const KernelHolder& holder) override;

private:
    Paths paths_;
};

}  // namespace kestrix
