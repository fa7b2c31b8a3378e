#include "KestrixKit/Volumes/DriveIdentity.h"

#include <algorithm>

namespace kestrix {

bool isSameDrive(const Drive& drive, const VolumeIdentityReader& identityNow) {
    return std::all_of(drive.volumes.begin(), drive.volumes.end(), [&](const DriveVolume& volume) {
        return !volume.identity || identityNow(volume) == volume.identity;
    });
}

}  // namespace kestrix
