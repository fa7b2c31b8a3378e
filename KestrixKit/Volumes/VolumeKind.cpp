#include "KestrixKit/Volumes/VolumeKind.h"

#include "KestrixKit/Coding/RawValueTable.h"

namespace kestrix {
namespace {

constexpr coding::RawValueTable<VolumeKind, 5> table{{{
    {VolumeKind::externalDrive, "externalDrive"},
    {VolumeKind::memoryCard, "memoryCard"},
    {VolumeKind::diskImage, "diskImage"},
    {VolumeKind::networkShare, "networkShare"},
    {VolumeKind::optical, "optical"},
}}};

}  // namespace

std::string_view rawValue(VolumeKind kind) { return table.name(kind); }
std::optional<VolumeKind> volumeKindFromRawValue(std::string_view raw) { return table.value(raw); }

}  // namespace kestrix
