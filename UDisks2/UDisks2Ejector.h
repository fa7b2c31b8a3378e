#pragma once

#include <QDBusConnection>

#include "UDisks2/UDisks2Bus.h"
#include "KestrixKit/Ejection/DiskEjecting.h"

namespace kestrix {

// Ejects through the desktop's disk service over D-Bus, as the signed-in user: unmounts every
// file system of the drive's whole disks, locks the encrypted containers left open on it, then
// deletes a loop device, takes out an optical disc or powers the drive off. polkit may ask the
// user for a password on the way. A file system that lives on once unmounted (see isReleased)
// leaves the device attached. Blocks until the service answers; call it off the UI thread.
class UDisks2Ejector : public DiskEjecting {
public:
    explicit UDisks2Ejector(QDBusConnection bus = QDBusConnection::systemBus(), UDisks2Authorization authorization = {})
        : bus_(std::move(bus), std::move(authorization)) {}

    EjectOutcome eject(const Drive& drive, bool force) override;
    // Loop.Delete of a disk image's loop device, or Swapspace.Stop of a swap partition.
    ReleaseOutcome release(const KernelHolder& holder) override;

private:
    UDisks2Bus bus_;
};

}  // namespace kestrix
