#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

// A 128-bit universally unique identifier.
struct Uuid {
    std::array<std::uint8_t, 16> bytes{};

    // A random (version 4) identifier made from 16 random bytes.
    static Uuid version4(std::array<std::uint8_t, 16> randomBytes);
    // The 8-4-4-4-12 hexadecimal form, in either case; nothing for anything else.
    static std::optional<Uuid> parse(std::string_view text);
    // The 8-4-4-4-12 form in upper-case hexadecimal digits.
    std::string string() const;

    auto operator<=>(const Uuid&) const = default;
};

}  // namespace kestrix
