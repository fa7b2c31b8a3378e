#pragma once

#include <cstdint>

namespace kestrix::shell {

// What `kestrix --action` and a link run from a terminal return. kestrixctl keeps its own codes.
enum class ActionStatus : int {
    // Every drive asked for was ejected (or there was none to eject).
    ejected = 0,
    // No drive has that name, or no running Kestrix answered.
    notDone = 1,
    badArguments = 2,
    // A drive asked for is still there: something kept it, or the system refused.
    refused = 3,
};

// The status of an eject that asked for `asked` drives and ejected `ejected` of them.
constexpr ActionStatus ejectStatus(std::uint32_t ejected, std::uint32_t asked) {
    return ejected == asked ? ActionStatus::ejected : ActionStatus::refused;
}

}  // namespace kestrix::shell
