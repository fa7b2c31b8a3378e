// Any bytes: the history file reader either refuses them or gives a history that is written
// and read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "KestrixKit/History/HistoryCoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrix;
    const auto history = decodeHistory(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!history) return 0;
    if (decodeHistory(encodeHistory(*history)) != history) std::abort();
    return 0;
}
