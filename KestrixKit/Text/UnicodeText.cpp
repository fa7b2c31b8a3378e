#include "KestrixKit/Text/UnicodeText.h"

#include <memory>

#include <unicode/brkiter.h>
#include <unicode/coll.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace kestrix::text {
namespace {

icu::UnicodeString fromUTF8(std::string_view utf8) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
}

// Canonical decomposition without combining marks, then case folding.
icu::UnicodeString foldedWithoutDiacritics(std::string_view utf8) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    icu::UnicodeString decomposed = fromUTF8(utf8);
    if (U_SUCCESS(status)) decomposed = nfd->normalize(decomposed, status);
    icu::UnicodeString stripped;
    for (int32_t index = 0; index < decomposed.length();) {
        const UChar32 character = decomposed.char32At(index);
        if (u_charType(character) != U_NON_SPACING_MARK) stripped.append(character);
        index += U16_LENGTH(character);
    }
    return stripped.foldCase();
}

}  // namespace

std::string trimmed(std::string_view utf8) {
    const icu::UnicodeString text = fromUTF8(utf8);
    int32_t start = 0;
    int32_t end = text.length();
    while (start < end && u_isUWhiteSpace(text.char32At(start))) start = text.moveIndex32(start, 1);
    while (end > start) {
        const int32_t previous = text.moveIndex32(end, -1);
        if (!u_isUWhiteSpace(text.char32At(previous))) break;
        end = previous;
    }
    std::string result;
    text.tempSubStringBetween(start, end).toUTF8String(result);
    return result;
}

bool equalIgnoringCaseAndDiacritics(std::string_view a, std::string_view b) {
    return foldedWithoutDiacritics(a) == foldedWithoutDiacritics(b);
}

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

int localizedCaseInsensitiveCompare(std::string_view a, std::string_view b) {
    UErrorCode status = U_ZERO_ERROR;
    // Secondary strength: accents count, letter case does not.
    thread_local std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode createStatus = U_ZERO_ERROR;
        // The POSIX locale's collation orders by code point, upper case before all lower case;
        // the root collation is the neutral order a C locale should get.
        icu::Locale locale = icu::Locale::getDefault();
        if (std::string_view(locale.getVariant()) == "POSIX") locale = icu::Locale::getRoot();
        std::unique_ptr<icu::Collator> created(icu::Collator::createInstance(locale, createStatus));
        if (U_FAILURE(createStatus)) created.reset();
        if (created) created->setStrength(icu::Collator::SECONDARY);
        return created;
    }();
    if (!collator) {
        const icu::UnicodeString left = fromUTF8(a);
        return left.caseCompare(fromUTF8(b), U_FOLD_CASE_DEFAULT);
    }
    return collator->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                                 icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
}

}  // namespace kestrix::text
