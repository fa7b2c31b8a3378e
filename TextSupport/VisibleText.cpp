#include "TextSupport/VisibleText.h"

#include <cstdint>
#include <cstdio>

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace textsupport {
namespace {

bool isDisallowedCategory(UChar32 scalar) {
    switch (u_charType(scalar)) {
    case U_CONTROL_CHAR:
    case U_FORMAT_CHAR:
    case U_LINE_SEPARATOR:
    case U_PARAGRAPH_SEPARATOR:
    case U_SURROGATE:
    case U_PRIVATE_USE_CHAR:
    case U_UNASSIGNED:
        return true;
    default:
        return false;
    }
}

// Calls `visit` with each scalar and its bytes; the scalar is negative for invalid bytes.
// ICU counts in 32-bit offsets, so the text is walked in pieces cut between characters.
template <typename Visit>
void forEachScalar(std::string_view utf8, Visit visit) {
    const auto length = static_cast<int32_t>(std::min<std::size_t>(utf8.size(), INT32_MAX));
    int32_t offset = 0;
    while (offset < length) {
        const int32_t start = offset;
        UChar32 scalar = 0;
        U8_NEXT(utf8.data(), offset, length, scalar);
        visit(scalar, utf8.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(offset - start)));
    }
    if (utf8.size() > static_cast<std::size_t>(length)) forEachScalar(utf8.substr(static_cast<std::size_t>(length)), visit);
}

}  // namespace

bool hasDisallowedScalar(std::string_view utf8) {
    if (utf8.size() > INT32_MAX) return true;
    bool found = false;
    forEachScalar(utf8, [&](UChar32 scalar, std::string_view) { found = found || scalar < 0 || isDisallowedCategory(scalar); });
    return found;
}

std::string visibleText(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    forEachScalar(text, [&](UChar32 scalar, std::string_view piece) {
        char escaped[16];
        if (scalar < 0) {
            for (const char byte : piece) {
                std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(byte));
                result += escaped;
            }
        } else if (isDisallowedCategory(scalar)) {
            std::snprintf(escaped, sizeof escaped, "\\u{%X}", static_cast<unsigned>(scalar));
            result += escaped;
        } else {
            result += piece;
        }
    });
    return result;
}

}  // namespace textsupport
