#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

// What sort of device a volume lives on. The raw value of each case is its name.
enum class VolumeKind { externalDrive, memoryCard, diskImage, networkShare, optical };

inline constexpr std::array<VolumeKind, 5> allVolumeKinds{
    VolumeKind::externalDrive, VolumeKind::memoryCard, VolumeKind::diskImage,
    VolumeKind::networkShare, VolumeKind::optical};

std::string_view rawValue(VolumeKind kind);
std::optional<VolumeKind> volumeKindFromRawValue(std::string_view raw);

}  // namespace kestrix
