#include "KestrixKit/Volumes/VolumeKind.h"

namespace kestrix {

std::string_view rawValue(VolumeKind kind) {
    switch (kind) {
        case VolumeKind::externalDrive: return "externalDrive";
        case VolumeKind::memoryCard: return "memoryCard";
        case VolumeKind::diskImage: return "diskImage";
        case VolumeKind::networkShare: return "networkShare";
        case VolumeKind::optical: return "optical";
    }
    return "externalDrive";
}

std::optional<VolumeKind> volumeKindFromRawValue(std::string_view raw) {
    for (VolumeKind kind : allVolumeKinds) {
        if (rawValue(kind) == raw) return kind;
    }
    return std::nullopt;
}

}  // namespace kestrix
