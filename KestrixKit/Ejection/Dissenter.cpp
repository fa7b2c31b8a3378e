#include "KestrixKit/Ejection/Dissenter.h"

#include <cmath>
#include <limits>

namespace kestrix::Dissenter {

std::optional<std::int32_t> pid(const nlohmann::json& dictionary) {
    if (!dictionary.is_object()) return std::nullopt;
    const auto entry = dictionary.find("DAProcessID");
    if (entry == dictionary.end()) return std::nullopt;
    constexpr auto largest = std::numeric_limits<std::int32_t>::max();
    if (entry->is_number_unsigned()) {
        const auto number = entry->get<std::uint64_t>();
        if (number <= static_cast<std::uint64_t>(largest)) return static_cast<std::int32_t>(number);
        return std::nullopt;
    }
    if (entry->is_number_integer()) {
        const auto number = entry->get<std::int64_t>();
        if (number >= 0 && number <= largest) return static_cast<std::int32_t>(number);
        return std::nullopt;
    }
    // A fractional or out-of-range number is not a process id; truncating it to 32 bits would
    // name an unrelated process.
    if (entry->is_number_float()) {
        const double number = entry->get<double>();
        if (std::isfinite(number) && number == std::floor(number) && number >= 0 && number <= largest) {
            return static_cast<std::int32_t>(number);
        }
    }
    return std::nullopt;
}

}  // namespace kestrix::Dissenter
