#include "KestrixKit/Holders/HoldKind.h"

#include "KestrixKit/Coding/RawValueTable.h"

namespace kestrix {
namespace {

constexpr coding::RawValueTable<HoldKind, 5> table{{{
    {HoldKind::openFile, "openFile"},
    {HoldKind::currentFolder, "currentFolder"},
    {HoldKind::runningFrom, "runningFrom"},
    {HoldKind::mappedFile, "mappedFile"},
    {HoldKind::watchedFile, "watchedFile"},
}}};

}  // namespace

std::string_view rawValue(HoldKind kind) { return table.name(kind); }
std::optional<HoldKind> holdKindFromRawValue(std::string_view raw) { return table.value(raw); }

}  // namespace kestrix
