#pragma once

#include <chrono>

#include "KestrixKit/Flow/DriveVerdict.h"
#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

// The result of one eject operation on one drive.
struct DriveReport {
    Drive drive;
    DriveVerdict verdict;
    // When the report was made.
    std::chrono::system_clock::time_point date;
    // Only the report of a forced eject.
    bool forced = false;

    bool operator==(const DriveReport&) const = default;
};

}  // namespace kestrix
