#include "KestrixApp/Views/MoreApps/MoreAppsLook.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <utility>

#include "KestrixApp/Views/Icons/SymbolIcons.h"

namespace kestrix::views::MoreAppsLook {

namespace {

// What a feed entry shows for a symbol the app does not know.
constexpr std::string_view unknownSymbol = "app.fill";

// A symbol the icon table knows: the feed's own, or the stand-in for any other.
std::string_view knownSymbol(std::string_view symbol) {
    return freedesktopIconName(symbol) ? symbol : unknownSymbol;
}

// The system colours of the same names.
constexpr std::array<std::pair<std::string_view, QRgb>, 13> tintColours{{
    {"red", 0xFF3B30},
    {"orange", 0xFF9500},
    {"yellow", 0xFFCC00},
    {"green", 0x34C759},
    {"mint", 0x00C7BE},
    {"teal", 0x30B0C7},
    {"cyan", 0x32ADE6},
    {"blue", 0x007AFF},
    {"indigo", 0x5856D6},
    {"purple", 0xAF52DE},
    {"pink", 0xFF2D55},
    {"brown", 0xA2845E},
    {"gray", 0x8E8E93},
}};

template <typename Table>
auto find(const Table& table, std::string_view key) {
    return std::find_if(table.begin(), table.end(), [&](const auto& entry) { return entry.first == key; });
}

// A symbol in one colour, its shape kept and filled.
QPixmap colouredIcon(std::string_view symbol, const QColor& colour, int side, qreal devicePixelRatio) {
    return symbolIcon(symbol, colour).pixmap(QSize(side, side), devicePixelRatio);
}

}  // namespace

std::string_view iconName(std::string_view symbol) { return *freedesktopIconName(knownSymbol(symbol)); }

QColor tintColour(std::string_view tint) {
    const auto found = find(tintColours, tint);
    return QColor(found == tintColours.end() ? find(tintColours, "blue")->second : found->second);
}

QPixmap badge(std::string_view symbol, const QColor& colour, int side, qreal devicePixelRatio) {
    QPixmap result(QSize(side, side) * devicePixelRatio);
    result.setDevicePixelRatio(devicePixelRatio);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, side);
    gradient.setColorAt(0, colour.lighter(115));
    gradient.setColorAt(1, colour.darker(115));
    QPainterPath square;
    square.addRoundedRect(QRectF(0, 0, side, side), side * 0.22, side * 0.22);
    painter.fillPath(square, gradient);
    const int iconSide = side * 5 / 9;
    const QPixmap icon = colouredIcon(knownSymbol(symbol), Qt::white, iconSide, devicePixelRatio);
    if (!icon.isNull()) painter.drawPixmap((side - iconSide) / 2, (side - iconSide) / 2, icon);
    return result;
}

QPixmap opensElsewhereMark(const QColor& colour, int side, qreal devicePixelRatio) {
    return colouredIcon("arrow.up.forward.app", colour, side, devicePixelRatio);
}

}  // namespace kestrix::views::MoreAppsLook
