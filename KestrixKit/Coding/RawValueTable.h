#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <utility>

namespace kestrix::coding {

// The raw string value of each case of an enumeration, both ways.
template <typename Enum, std::size_t Count>
struct RawValueTable {
    std::array<std::pair<Enum, std::string_view>, Count> entries;

    constexpr std::string_view name(Enum value) const {
        for (const auto& [candidate, raw] : entries) {
            if (candidate == value) return raw;
        }
        return {};
    }

    constexpr std::optional<Enum> value(std::string_view raw) const {
        for (const auto& [candidate, candidateRaw] : entries) {
            if (candidateRaw == raw) return candidate;
        }
        return std::nullopt;
    }
};

}  // namespace kestrix::coding
