#pragma once

#include "KestrixKit/Volumes/VolumeKind.h"

namespace kestrix {

// Which optional kinds the user wants listed; every other kind is always listed.
struct VolumeFilter {
    bool diskImages = false;
    bool networkShares = false;

    bool allows(VolumeKind kind) const {
        if (kind == VolumeKind::diskImage) return diskImages;
        if (kind == VolumeKind::networkShare) return networkShares;
        return true;
    }
    bool operator==(const VolumeFilter&) const = default;
};

}  // namespace kestrix
