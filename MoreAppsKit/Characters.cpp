#include "MoreAppsKit/Characters.h"

#include <memory>

#include <unicode/brkiter.h>
#include <unicode/utext.h>

namespace moreapps::Characters {

namespace {

struct UTextCloser {
    void operator()(UText* text) const { utext_close(text); }
};

// Calls `visit` with the UTF-8 offset after each character until it returns false.
// Without ICU's break data every byte counts as a character, which only over-counts.
template <typename Visit>
void forEachCharacterEnd(std::string_view utf8, Visit visit) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UText, UTextCloser> text(
        utext_openUTF8(nullptr, utf8.data(), static_cast<int64_t>(utf8.size()), &status));
    std::unique_ptr<icu::BreakIterator> breaks(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status)) {
        for (std::size_t end = 1; end <= utf8.size(); ++end) {
            if (!visit(end)) return;
        }
        return;
    }
    breaks->setText(text.get(), status);
    breaks->first();
    for (int32_t end = breaks->next(); end != icu::BreakIterator::DONE; end = breaks->next()) {
        if (!visit(static_cast<std::size_t>(end))) return;
    }
}

}  // namespace

std::size_t count(std::string_view utf8) {
    std::size_t characters = 0;
    forEachCharacterEnd(utf8, [&](std::size_t) {
        ++characters;
        return true;
    });
    return characters;
}

std::string_view prefix(std::string_view utf8, std::size_t limit) {
    std::size_t characters = 0;
    std::size_t length = 0;
    forEachCharacterEnd(utf8, [&](std::size_t end) {
        if (characters == limit) return false;
        ++characters;
        length = end;
        return true;
    });
    return utf8.substr(0, length);
}

}  // namespace moreapps::Characters
