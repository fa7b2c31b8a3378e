// Any text as the backup tool's "destinationinfo" output: every mount point found is a
// non-empty part of one line, without blanks at either end.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "KestrixKit/TimeMachine/TimeMachine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrix;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const std::string& mountPoint : TimeMachine::parseDestinations(text)) {
        if (mountPoint.empty() || mountPoint.find_first_of("\n\r\v\f") != std::string::npos) std::abort();
        if (mountPoint.front() == ' ' || mountPoint.front() == '\t') std::abort();
        if (mountPoint.back() == ' ' || mountPoint.back() == '\t') std::abort();
        if (text.find(mountPoint) == std::string::npos) std::abort();
    }
    return 0;
}
