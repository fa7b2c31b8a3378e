#pragma once

#include <chrono>
#include <string>

#include "KestrixKit/Holders/HelperKind.h"

namespace kestrix {

// A process name that took part in blocked ejects; computed from the history, never stored.
struct Offender {
    std::string name;
    // The kind it had in the newest of those ejects.
    HelperKind kind = HelperKind::commandLine;
    // How many blocked ejects it took part in.
    int count = 0;
    // The date of the latest of them.
    std::chrono::system_clock::time_point lastSeen;

    const std::string& id() const { return name; }

    bool operator==(const Offender&) const = default;
};

// How often an offender blocked, in the counted form the language uses: "Blocked 1 time".
std::string blockedTimesText(int count);

}  // namespace kestrix
