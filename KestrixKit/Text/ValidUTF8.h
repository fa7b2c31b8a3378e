#pragma once

#include <string>
#include <string_view>

namespace kestrix::text {

// The bytes as UTF-8 with every invalid sequence replaced by U+FFFD.
std::string validUTF8(std::string_view bytes);

}  // namespace kestrix::text
