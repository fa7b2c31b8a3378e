#pragma once

#include <chrono>

namespace moreapps {

// An absolute time, fractional seconds allowed. Stored files count seconds from
// 2001-01-01 00:00:00 UTC.
using MoreAppsDate = std::chrono::time_point<std::chrono::system_clock, std::chrono::duration<double>>;

inline constexpr double unixSecondsAtReferenceDate = 978307200.0;

inline double secondsSinceReferenceDate(MoreAppsDate date) {
    return date.time_since_epoch().count() - unixSecondsAtReferenceDate;
}

inline MoreAppsDate dateFromSecondsSinceReferenceDate(double seconds) {
    return MoreAppsDate(std::chrono::duration<double>(seconds + unixSecondsAtReferenceDate));
}

}  // namespace moreapps
