#include "KestrixKit/Holders/HoldKind.h"

#include "KestrixKit/Coding/RawValueTable.h"

namespace kestrix {
namespace {

constexpr coding::RawValueTable<HoldKind, 5> holdKindTable{{{
    {HoldKind::openFile, "openFile"},
    {HoldKind::currentFolder, "currentFolder"},
    {HoldKind::runningFrom, "runningFrom"},
    {HoldKind::mappedFile, "mappedFile"},
    {HoldKind::watchedFile, "watchedFile"},
}}};

}  // namespace

std::string_view rawValue(HoldKind kind) { return holdKindTable.name(kind); }
std::optional<HoldKind> holdKindFromRawValue(std::string_view raw) { return holdKindTable.value(raw); }

}  // namespace kestrix
