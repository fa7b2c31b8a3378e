#include "KestrixKit/Ejection/UnmountKey.h"

namespace kestrix {

UnmountKey UnmountKey::of(const DriveVolume& volume) {
    if (volume.wholeDisk) return {*volume.wholeDisk, true};
    if (volume.bsdName) return {*volume.bsdName, false};
    return {volume.mountPath, false};
}

}  // namespace kestrix
