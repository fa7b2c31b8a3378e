#pragma once

namespace kestrix {

// What the desktop lets Kestrix do to a running app: ask it to quit its own way (its quit action
// on the session bus, or closing its windows) and bring its window forward. A Wayland desktop
// offers neither for an app without a bus route.
struct AppReach {
    bool canAskToQuit = true;
    bool canShow = true;

    bool operator==(const AppReach&) const = default;
};

}  // namespace kestrix
