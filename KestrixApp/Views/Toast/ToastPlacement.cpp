#include "KestrixApp/Views/Toast/ToastPlacement.h"

namespace kestrix::views {

namespace {
constexpr int rightMargin = 16;
constexpr int topMargin = 10;
}  // namespace

std::optional<QRect> toastFrame(const std::optional<QRect>& primaryArea, const std::vector<QRect>& screenAreas,
                                QSize size) {
    std::optional<QRect> area = primaryArea;
    if (!area && !screenAreas.empty()) area = screenAreas.front();
    if (!area) return std::nullopt;
    const int left = area->x() + area->width() - size.width() - rightMargin;
    return QRect(QPoint(left, area->y() + topMargin), size);
}

}  // namespace kestrix::views
