#include "KestrixKit/Holders/KernelHoldKind.h"

#include "KestrixKit/Coding/RawValueTable.h"

namespace kestrix {
namespace {

constexpr coding::RawValueTable<KernelHoldKind, 5> kernelHoldKindTable{{{
    {KernelHoldKind::diskImage, "diskImage"},
    {KernelHoldKind::swapArea, "swap"},
    {KernelHoldKind::innerMount, "innerMount"},
    {KernelHoldKind::mountNamespace, "mountNamespace"},
    {KernelHoldKind::stackedDevice, "stackedDevice"},
}}};

}  // namespace

std::string_view rawValue(KernelHoldKind kind) { return kernelHoldKindTable.name(kind); }
std::optional<KernelHoldKind> kernelHoldKindFromRawValue(std::string_view raw) { return kernelHoldKindTable.value(raw); }

}  // namespace kestrix
