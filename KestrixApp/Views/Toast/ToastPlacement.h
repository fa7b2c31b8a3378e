#pragma once

#include <QRect>
#include <optional>
#include <vector>

namespace kestrix::views {

// The toast's size for a line or two; a longer text makes it taller, up to its line limit.
inline constexpr QSize toastSize{380, 64};
inline constexpr int toastLineLimit = 4;

// Where the toast panel of that size goes: near the top-right corner of the primary screen's
// available area, else of the first screen's; nowhere when there is no screen at all.
std::optional<QRect> toastFrame(const std::optional<QRect>& primaryArea, const std::vector<QRect>& screenAreas,
                                QSize size = toastSize);

}  // namespace kestrix::views
