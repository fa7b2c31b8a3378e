#pragma once

#include <QIcon>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

// The app names its icons by the symbol names its texts were designed with ("eject.fill",
// "lock.fill", …); this is the one place that turns them into icons of the desktop's theme.
namespace kestrix::views {

// Every symbol name with the freedesktop icon name that stands for it.
const std::vector<std::pair<std::string_view, std::string_view>>& symbolIconNames();

// The freedesktop icon name for a symbol name; absent for a name the app never uses.
std::optional<std::string_view> freedesktopIconName(std::string_view symbol);

// The symbol's icon from the current theme, Adwaita where the theme lacks it; an empty icon
// for an unknown symbol.
QIcon symbolIcon(std::string_view symbol);
// The symbol as a one-colour glyph where the theme has one, for drawing in a colour of the
// app's own; otherwise as symbolIcon gives it.
QIcon symbolGlyph(std::string_view symbol);

}  // namespace kestrix::views
