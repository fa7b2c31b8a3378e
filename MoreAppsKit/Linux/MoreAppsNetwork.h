#pragma once

#include <filesystem>

namespace moreapps::MoreAppsNetwork {

inline constexpr const char* flatpakInfoPath = "/.flatpak-info";

// Whether this process may use the network, decided once per process.
bool allowsNetwork();

// Outside Flatpak (no sandbox description) always; inside only when the sandbox
// shares the network; an unreadable description allows nothing.
bool allowsNetwork(const std::filesystem::path& flatpakInfo);

}  // namespace moreapps::MoreAppsNetwork
