#pragma once

#include <QRect>
#include <optional>
#include <vector>

namespace kestrix::views {

inline constexpr QSize toastSize{380, 64};

// Where the toast panel goes: near the top-right corner of the primary screen's available area,
// else of the first screen's; nowhere when there is no screen at all.
std::optional<QRect> toastFrame(const std::optional<QRect>& primaryArea, const std::vector<QRect>& screenAreas);

}  // namespace kestrix::views
