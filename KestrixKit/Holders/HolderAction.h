#pragma once

#include <optional>
#include <string_view>

namespace kestrix {

// The remedies offered for a holder.
enum class HolderAction { quitApp, showApp, endProcess, waitAndRetry };

std::string_view rawValue(HolderAction action);
std::optional<HolderAction> holderActionFromRawValue(std::string_view raw);

}  // namespace kestrix
