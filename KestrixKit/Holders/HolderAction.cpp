#include "KestrixKit/Holders/HolderAction.h"

#include "KestrixKit/Coding/RawValueTable.h"

namespace kestrix {
namespace {

constexpr coding::RawValueTable<HolderAction, 4> holderActionTable{{{
    {HolderAction::quitApp, "quitApp"},
    {HolderAction::showApp, "showApp"},
    {HolderAction::endProcess, "endProcess"},
    {HolderAction::waitAndRetry, "waitAndRetry"},
}}};

}  // namespace

std::string_view rawValue(HolderAction action) { return holderActionTable.name(action); }
std::optional<HolderAction> holderActionFromRawValue(std::string_view raw) { return holderActionTable.value(raw); }

}  // namespace kestrix
