#pragma once

namespace kestrix::views {

// Makes the desktop's icon themes reachable, with Adwaita behind them. Done once, before the
// first icon is made; later calls do nothing.
void prepareIconThemes();

}  // namespace kestrix::views
