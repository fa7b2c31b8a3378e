#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

// The app names its icons by the symbol names its texts were designed with ("eject.fill",
// "lock.fill", …); this is the one place that turns them into icons. Every symbol is a
// one-colour glyph drawn in a colour of the view's palette, so that icons read on light and
// dark palettes alike.
namespace kestrix::views {

// Every symbol name with the freedesktop icon name that stands for it.
const std::vector<std::pair<std::string_view, std::string_view>>& symbolIconNames();

// The freedesktop icon name for a symbol name; absent for a name the app never uses.
std::optional<std::string_view> freedesktopIconName(std::string_view symbol);

// The symbol in one colour: the app's own drawing for its eject symbols, which must never be
// missing, the desktop theme's symbolic icon for the rest (Adwaita where the theme lacks it, and
// the app's own drawing of the icon-only buttons' glyphs and the drive where no theme is found);
// an empty icon for an unknown symbol.
QIcon symbolIcon(std::string_view symbol, const QColor& color);
QPixmap symbolPixmap(std::string_view symbol, int side, const QColor& color);

}  // namespace kestrix::views
