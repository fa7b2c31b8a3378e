#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "KestrixKit/Ejection/DiskEjecting.h"
#include "KestrixKit/Flow/HolderQuitting.h"
#include "KestrixKit/Holders/AppReach.h"
#include "KestrixKit/System/TraceSink.h"

namespace kestrix {

// Which system to act on: a simulated one from a world file or the demo, else this machine.
struct SystemChoice {
    std::optional<std::string> worldPath;
    bool demo = false;
    // Receives one line per call made to the system; empty for no tracing.
    TraceSink trace;
    // On this machine, the desktop's disk service and the way its apps are asked to quit, in
    // place of the kernel's unmount calls and signals; a world always uses its own.
    std::shared_ptr<DiskEjecting> desktopEjector;
    std::shared_ptr<HolderQuitting> desktopQuitter;
    // On this machine, what the desktop lets Kestrix do to the app with this pid; absent where
    // nobody can tell.
    std::function<std::optional<AppReach>(std::int32_t pid)> appReach;
};

}  // namespace kestrix
