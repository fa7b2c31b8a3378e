// Any text as /proc/swaps and as a process's cgroup path: the readers of what names the kernel's
// holders read it without fault, and never find an empty path or name, or a path longer than its line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "KestrixKit/Linux/Kernel/ServiceCgroup.h"
#include "KestrixKit/Linux/Kernel/SwapAreas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrix;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const SwapArea& area : parseSwapAreas(text)) {
        if (area.path.empty() || area.path.size() > text.size()) std::abort();
    }
    if (const auto unit = servicecgroup::systemService(text); unit && unit->empty()) std::abort();
    if (const auto container = servicecgroup::container(text); container && container->empty()) std::abort();
    return 0;
}
