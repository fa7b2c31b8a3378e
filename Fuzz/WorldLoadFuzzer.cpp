// Any bytes: the world reader gives a world or an error, never a crash or an abort.
#include <cstdint>
#include <string_view>

#include "KestrixKit/Simulated/World.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kestrix::WorldLoadResult result = kestrix::parseWorld(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)result;
    return 0;
}
