#include "KestrixKit/Text/ValidUTF8.h"

#include <algorithm>
#include <limits>

#include <unicode/unistr.h>

namespace kestrix::text {

std::string validUTF8(std::string_view bytes) {
    // Most names and paths are plain ASCII, which needs no conversion.
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char byte) { return (byte & 0x80) == 0; });
    if (ascii) return std::string(bytes);
    std::string result;
    // ICU counts in 32-bit lengths, so very long text is converted in pieces cut between
    // characters (never before a continuation byte).
    constexpr std::size_t pieceSize = std::numeric_limits<int32_t>::max() / 4;
    while (!bytes.empty()) {
        std::size_t size = std::min(bytes.size(), pieceSize);
        while (size < bytes.size() && size > 0 && (static_cast<unsigned char>(bytes[size]) & 0xC0) == 0x80) --size;
        if (size == 0) size = std::min(bytes.size(), pieceSize);
        icu::UnicodeString::fromUTF8(icu::StringPiece(bytes.data(), static_cast<int32_t>(size))).toUTF8String(result);
        bytes.remove_prefix(size);
    }
    return result;
}

}  // namespace kestrix::text
