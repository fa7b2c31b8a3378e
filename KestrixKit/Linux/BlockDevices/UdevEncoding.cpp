#include "KestrixKit/Linux/BlockDevices/UdevEncoding.h"

#include <optional>

namespace kestrix {
namespace {

std::optional<int> hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return std::nullopt;
}

}  // namespace

std::string decodedUdevText(std::string_view encoded) {
    std::string decoded;
    decoded.reserve(encoded.size());
    std::size_t index = 0;
    while (index < encoded.size()) {
        if (encoded.substr(index, 2) == "\\x" && index + 3 < encoded.size()) {
            const std::optional<int> high = hexDigit(encoded[index + 2]);
            const std::optional<int> low = hexDigit(encoded[index + 3]);
            if (high && low) {
                decoded.push_back(static_cast<char>(*high * 16 + *low));
                index += 4;
                continue;
            }
        }
        decoded.push_back(encoded[index]);
        ++index;
    }
    return decoded;
}

}  // namespace kestrix
