#include "KestrixKit/Coding/IsoDate.h"

#include <cstdio>

namespace kestrix {
namespace {

using namespace std::chrono;

// Reads `count` decimal digits at `offset`.
std::optional<int> digits(std::string_view text, std::size_t offset, std::size_t count) {
    int value = 0;
    for (std::size_t index = offset; index < offset + count; ++index) {
        if (text[index] < '0' || text[index] > '9') return std::nullopt;
        value = value * 10 + (text[index] - '0');
    }
    return value;
}

}  // namespace

std::string isoDateString(system_clock::time_point date) {
    const auto wholeSeconds = floor<seconds>(date);
    const auto midnight = floor<days>(wholeSeconds);
    const year_month_day calendar{midnight};
    const hh_mm_ss time{wholeSeconds - midnight};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(calendar.year()),
                  static_cast<unsigned>(calendar.month()), static_cast<unsigned>(calendar.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::optional<system_clock::time_point> isoDate(std::string_view text) {
    // YYYY-MM-DDTHH:MM:SSZ
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':' || text[19] != 'Z') {
        return std::nullopt;
    }
    const auto yearValue = digits(text, 0, 4), monthValue = digits(text, 5, 2), dayValue = digits(text, 8, 2);
    const auto hour = digits(text, 11, 2), minute = digits(text, 14, 2), second = digits(text, 17, 2);
    if (!yearValue || !monthValue || !dayValue || !hour || !minute || !second) return std::nullopt;
    if (*hour > 23 || *minute > 59 || *second > 59) return std::nullopt;
    const year_month_day calendar{year{*yearValue}, month{static_cast<unsigned>(*monthValue)},
                                  day{static_cast<unsigned>(*dayValue)}};
    if (!calendar.ok()) return std::nullopt;
    const sys_seconds date = sys_days{calendar} + hours{*hour} + minutes{*minute} + seconds{*second};
    // The clock's range is narrower than four-digit years.
    if (date < ceil<seconds>(system_clock::time_point::min()) ||
        date > floor<seconds>(system_clock::time_point::max())) {
        return std::nullopt;
    }
    return time_point_cast<system_clock::duration>(date);
}

}  // namespace kestrix
