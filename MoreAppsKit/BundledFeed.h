#pragma once

#include <string_view>

namespace moreapps::BundledFeed {

// The feed that ships inside the library, byte for byte.
std::string_view data();

}  // namespace moreapps::BundledFeed
