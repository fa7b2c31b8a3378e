#include "KestrixKit/Text/ByteCountFormat.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "KestrixKit/Text/Localized.h"

namespace kestrix {
namespace {

std::string withoutTrailingZeros(std::string number) {
    if (number.find('.') == std::string::npos) return number;
    while (number.ends_with('0')) number.pop_back();
    if (number.ends_with('.')) number.pop_back();
    return number;
}

}  // namespace

std::string formatByteCount(std::uint64_t bytes) {
    if (bytes == 0) return localized("Zero KB");
    if (bytes == 1) return localized("1 byte");
    if (bytes < 1000) return localizedFormat("%1 bytes", {std::to_string(bytes)});

    struct Unit {
        const char* name;
        int decimals;
    };
    constexpr std::array<Unit, 6> units{{{"KB", 0}, {"MB", 1}, {"GB", 2}, {"TB", 2}, {"PB", 2}, {"EB", 2}}};
    double value = static_cast<double>(bytes) / 1000.0;
    std::size_t unit = 0;
    while (unit + 1 < units.size()) {
        // Move up when rounding at this unit's precision would reach 1000.
        const double scale = std::pow(10.0, units[unit].decimals);
        if (std::round(value * scale) / scale < 1000.0) break;
        value /= 1000.0;
        ++unit;
    }
    char number[64];
    std::snprintf(number, sizeof number, "%.*f", units[unit].decimals, value);
    return localizedFormat("%1 %2", {withoutTrailingZeros(number), units[unit].name});
}

}  // namespace kestrix
