#pragma once

#include <vector>

#include <nlohmann/json.hpp>

#include "KestrixKit/Holders/KernelHolder.h"
#include "KestrixKit/Volumes/MountedVolume.h"

namespace kestrix {

// One mounted volume of a world; an unreadable one is enumerated but yields no facts.
struct WorldVolume {
    MountedVolume facts;
    bool unreadable = false;
    // What the kernel keeps it busy with: an attached disk image, swap, another mount namespace…
    std::vector<KernelHolder> kernelHolders;
};

// The "volumes" section; throws world::WorldFormatError on a wrongly typed key.
std::vector<WorldVolume> decodeWorldVolumes(const nlohmann::json& world);

}  // namespace kestrix
