#include "KestrixKit/Holders/HolderAction.h"

#include "KestrixKit/Coding/RawValueTable.h"

namespace kestrix {
namespace {

constexpr coding::RawValueTable<HolderAction, 4> table{{{
    {HolderAction::quitApp, "quitApp"},
    {HolderAction::showApp, "showApp"},
    {HolderAction::endProcess, "endProcess"},
    {HolderAction::waitAndRetry, "waitAndRetry"},
}}};

}  // namespace

std::string_view rawValue(HolderAction action) { return table.name(action); }
std::optional<HolderAction> holderActionFromRawValue(std::string_view raw) { return table.value(raw); }

}  // namespace kestrix
