#pragma once

#include <QColor>
#include <QPixmap>
#include <string_view>

// How a feed entry looks: its symbol as an icon of the app's icon table and its tint as a colour.
namespace kestrix::views::MoreAppsLook {

// The freedesktop icon name for a feed symbol; "app.fill"'s counterpart for a symbol the app
// does not know.
std::string_view iconName(std::string_view symbol);

// The tint's colour; blue for "blue" and for any name the app does not know.
QColor tintColour(std::string_view tint);

// The symbol drawn white on a rounded square filled with a gradient of the colour, `side` wide.
QPixmap badge(std::string_view symbol, const QColor& colour, int side, qreal devicePixelRatio);

// The trailing mark of a row that opens a page in another app, in the colour; null where the
// theme has no such icon.
QPixmap opensElsewhereMark(const QColor& colour, int side, qreal devicePixelRatio);

}  // namespace kestrix::views::MoreAppsLook
