#pragma once

#include <filesystem>

#include "MoreAppsKit/Linux/MoreAppsNetwork.h"

namespace moreapps::Distribution {

// Whether this build came from outside the app store: a Flatpak (it has a sandbox description)
// comes from Flathub, and only Flathub links are shown there.
bool isDirect(const std::filesystem::path& flatpakInfo = MoreAppsNetwork::flatpakInfoPath);

}  // namespace moreapps::Distribution
