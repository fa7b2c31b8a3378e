#include "KestrixKit/Holders/ProcessNameText.h"

#include <memory>

#include <unicode/brkiter.h>
#include <unicode/unistr.h>

namespace kestrix::processname {
namespace {

icu::UnicodeString fromUTF8(std::string_view utf8) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
}

}  // namespace

std::string lowercased(std::string_view utf8) {
    std::string result;
    fromUTF8(utf8).toLower(icu::Locale::getRoot()).toUTF8String(result);
    return result;
}

std::size_t characterCount(std::string_view utf8) {
    const icu::UnicodeString text = fromUTF8(utf8);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> characters(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !characters) return static_cast<std::size_t>(text.countChar32());
    characters->setText(text);
    std::size_t count = 0;
    for (int32_t boundary = characters->next(); boundary != icu::BreakIterator::DONE; boundary = characters->next()) {
        ++count;
    }
    return count;
}

}  // namespace kestrix::processname
