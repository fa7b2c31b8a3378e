#include "KestrixKit/Text/Localized.h"

#include <libintl.h>

#include <vector>

#include "KestrixKit/Text/LinuxWords.h"
#include "KestrixKit/Text/Vocabulary.h"

namespace kestrix {

std::string localized(std::string_view english) {
    std::string base(english);
    if (selectedVocabulary() == Vocabulary::linuxSystem) {
        if (const auto linuxWording = LinuxWords::wording(english)) base = *linuxWording;
    }
    // The empty text is the key of the catalogue's header, never a translation.
    if (base.empty()) return base;
    return dgettext(translationDomain, base.c_str());
}

std::string localizedFormat(std::string_view englishTemplate, std::initializer_list<std::string_view> arguments) {
    const std::string pattern = localized(englishTemplate);
    const std::vector<std::string_view> values(arguments);
    std::string result;
    result.reserve(pattern.size());
    for (std::size_t index = 0; index < pattern.size(); ++index) {
        const char next = index + 1 < pattern.size() ? pattern[index + 1] : '\0';
        if (pattern[index] == '%' && next >= '1' && next <= '9') {
            const auto slot = static_cast<std::size_t>(next - '1');
            if (slot < values.size()) {
                result += values[slot];
                ++index;
                continue;
            }
        }
        result += pattern[index];
    }
    return result;
}

}  // namespace kestrix
