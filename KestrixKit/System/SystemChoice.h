#pragma once

#include <optional>
#include <string>

#include "KestrixKit/System/TraceSink.h"

namespace kestrix {

// Which system to act on: a simulated one from a world file or the demo, else this machine.
struct SystemChoice {
    std::optional<std::string> worldPath;
    bool demo = false;
    // Receives one line per call made to the system; empty for no tracing.
    TraceSink trace;
};

}  // namespace kestrix
