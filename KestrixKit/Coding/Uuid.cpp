#include "KestrixKit/Coding/Uuid.h"

namespace kestrix {
namespace {

constexpr std::string_view hexDigits = "0123456789ABCDEF";
constexpr std::size_t textLength = 36;

bool isDashPosition(std::size_t index) { return index == 8 || index == 13 || index == 18 || index == 23; }

std::optional<std::uint8_t> hexValue(char digit) {
    if (digit >= '0' && digit <= '9') return static_cast<std::uint8_t>(digit - '0');
    if (digit >= 'A' && digit <= 'F') return static_cast<std::uint8_t>(digit - 'A' + 10);
    if (digit >= 'a' && digit <= 'f') return static_cast<std::uint8_t>(digit - 'a' + 10);
    return std::nullopt;
}

}  // namespace

Uuid Uuid::version4(std::array<std::uint8_t, 16> randomBytes) {
    randomBytes[6] = static_cast<std::uint8_t>((randomBytes[6] & 0x0F) | 0x40);
    randomBytes[8] = static_cast<std::uint8_t>((randomBytes[8] & 0x3F) | 0x80);
    return Uuid{randomBytes};
}

std::optional<Uuid> Uuid::parse(std::string_view text) {
    if (text.size() != textLength) return std::nullopt;
    Uuid uuid;
    std::size_t nibble = 0;
    for (std::size_t index = 0; index < textLength; ++index) {
        if (isDashPosition(index)) {
            if (text[index] != '-') return std::nullopt;
            continue;
        }
        const auto value = hexValue(text[index]);
        if (!value) return std::nullopt;
        auto& byte = uuid.bytes[nibble / 2];
        byte = static_cast<std::uint8_t>(nibble % 2 == 0 ? *value << 4 : byte | *value);
        ++nibble;
    }
    return uuid;
}

std::string Uuid::string() const {
    std::string text;
    text.reserve(textLength);
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        if (index == 4 || index == 6 || index == 8 || index == 10) text += '-';
        text += hexDigits[bytes[index] >> 4];
        text += hexDigits[bytes[index] & 0x0F];
    }
    return text;
}

}  // namespace kestrix
