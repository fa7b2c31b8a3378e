#include "KestrixKit/Volumes/VolumeKindLabel.h"

#include "KestrixKit/Text/Localized.h"

namespace kestrix {

std::string label(VolumeKind kind) {
    switch (kind) {
        case VolumeKind::externalDrive: return localized("External drive");
        case VolumeKind::memoryCard: return localized("Memory card");
        case VolumeKind::diskImage: return localized("Disk image");
        case VolumeKind::networkShare: return localized("Network share");
        case VolumeKind::optical: return localized("Disc");
    }
    return localized("External drive");
}

}  // namespace kestrix
