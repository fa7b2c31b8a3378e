#pragma once

#include <QPalette>

namespace kestrix::views {

// A dark desktop palette, as dark themes give it: light text on dark windows, and the roles
// such themes leave alone (the placeholder text among them) at Qt's light defaults.
QPalette darkPalette();

}  // namespace kestrix::views
