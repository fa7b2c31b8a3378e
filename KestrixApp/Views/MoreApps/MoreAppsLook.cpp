#include "KestrixApp/Views/MoreApps/MoreAppsLook.h"

#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <utility>

namespace kestrix::views::MoreAppsLook {

namespace {

constexpr std::string_view unknownSymbolIcon = "application-x-executable";  // "app.fill"

// The symbols the maker's feed uses, and a few more it may, with their theme icons.
constexpr std::array<std::pair<std::string_view, std::string_view>, 20> symbolIcons{{
    {"app.fill", unknownSymbolIcon},
    {"square.grid.2x2.fill", "view-app-grid"},
    {"eject.circle", "media-eject"},
    {"eject.circle.fill", "media-eject"},
    {"eject.fill", "media-eject"},
    {"doc.on.clipboard", "edit-paste"},
    {"pencil.and.list.clipboard", "document-edit"},
    {"pencil", "document-edit"},
    {"internaldrive", "drive-harddisk"},
    {"externaldrive", "drive-removable-media"},
    {"folder", "folder"},
    {"folder.fill", "folder"},
    {"doc.text", "text-x-generic"},
    {"photo", "image-x-generic"},
    {"music.note", "audio-x-generic"},
    {"film", "video-x-generic"},
    {"magnifyingglass", "edit-find"},
    {"gearshape", "preferences-system"},
    {"clock", "preferences-system-time"},
    {"star", "starred"},
}};

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

// The theme's one-colour variant of an icon where it has one, else the icon itself.
QIcon themeIcon(std::string_view name) {
    const QString plain = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    return QIcon::fromTheme(plain + QLatin1String("-symbolic"), QIcon::fromTheme(plain));
}

// A theme icon in one colour, its shape kept and filled.
QPixmap colouredIcon(std::string_view name, const QColor& colour, int side, qreal devicePixelRatio) {
    QPixmap shape = themeIcon(name).pixmap(QSize(side, side), devicePixelRatio);
    if (shape.isNull()) return shape;
    QPainter painter(&shape);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRect(QPoint(0, 0), shape.deviceIndependentSize().toSize()), colour);
    return shape;
}

}  // namespace

std::string_view iconName(std::string_view symbol) {
    const auto found = find(symbolIcons, symbol);
    return found == symbolIcons.end() ? unknownSymbolIcon : found->second;
}

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
    const QPixmap icon = colouredIcon(iconName(symbol), Qt::white, iconSide, devicePixelRatio);
    if (!icon.isNull()) painter.drawPixmap((side - iconSide) / 2, (side - iconSide) / 2, icon);
    return result;
}

QPixmap opensElsewhereMark(const QColor& colour, int side, qreal devicePixelRatio) {
    return colouredIcon("send-to", colour, side, devicePixelRatio);  // "arrow.up.forward.app"
}

}  // namespace kestrix::views::MoreAppsLook
