#pragma once

#include <functional>
#include <string>

namespace kestrix {

// Where --trace writes one line per call made to the system.
using TraceSink = std::function<void(const std::string& line)>;

}  // namespace kestrix
