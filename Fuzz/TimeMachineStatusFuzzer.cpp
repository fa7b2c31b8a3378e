// Any text as the backup tool's "status" output: the parser reads it without fault, and a
// progress it finds is a fraction from 0 to 1.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "KestrixKit/TimeMachine/TimeMachine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrix;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TimeMachine::StatusFields fields = TimeMachine::parseStatus(text);
    if (fields.progress && !(*fields.progress >= 0 && *fields.progress <= 1)) std::abort();
    const auto status = TimeMachine::read([&](const std::vector<std::string>&) {
        return std::optional<CommandOutput>(CommandOutput{.exitStatus = 0, .output = text});
    });
    if (!status || status->running != fields.running || status->progress != fields.progress) std::abort();
    return 0;
}
