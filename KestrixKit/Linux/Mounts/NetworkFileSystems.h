#pragma once

#include <string_view>

namespace kestrix {

// Whether a mount of this file-system type reaches its data over the network.
bool isNetworkFileSystem(std::string_view type);

}  // namespace kestrix
