#include "KestrixKit/Volumes/VolumeKind.h"

#include "KestrixKit/Coding/RawValueTable.h"

namespace kestrix {
namespace {

constexpr coding::RawValueTable<VolumeKind, 5> volumeKindTable{{{
    {VolumeKind::externalDrive, "externalDrive"},
    {VolumeKind::memoryCard, "memoryCard"},
    {VolumeKind::diskImage, "diskImage"},
    {VolumeKind::networkShare, "networkShare"},
    {VolumeKind::optical, "optical"},
}}};

}  // namespace

std::string_view rawValue(VolumeKind kind) { return volumeKindTable.name(kind); }
std::optional<VolumeKind> volumeKindFromRawValue(std::string_view raw) { return volumeKindTable.value(raw); }

}  // namespace kestrix
