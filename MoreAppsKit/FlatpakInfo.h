#pragma once

#include <string_view>

namespace moreapps::FlatpakInfo {

// Whether a Flatpak sandbox description grants the network: its [Context]
// "shared" list holds "network".
bool sharesNetwork(std::string_view keyFile);

}  // namespace moreapps::FlatpakInfo
