// Any text as an inotify descriptor's fdinfo: every watch read from it has a whole handle or
// none, never longer than the kernel makes them, and no more watches than lines.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "KestrixKit/Linux/Processes/InotifyWatches.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrix;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<InotifyWatch> watches = parseInotifyWatches(text);
    if (watches.size() > static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1) std::abort();
    for (const InotifyWatch& watch : watches) {
        if (watch.handle && (watch.handle->bytes.empty() || watch.handle->bytes.size() > 128)) std::abort();
    }
    return 0;
}
