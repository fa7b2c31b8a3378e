#include "KestrixKit/Text/Localized.h"

#include <libintl.h>

#include <memory>
#include <mutex>
#include <vector>

#include "KestrixKit/Text/LinuxWords.h"
#include "KestrixKit/Text/Vocabulary.h"

namespace kestrix {

namespace {

std::mutex listenerLock;
std::shared_ptr<const std::function<void(std::string_view)>> missListener;

void reportMiss(std::string_view english) {
    std::shared_ptr<const std::function<void(std::string_view)>> listener;
    {
        const std::lock_guard hold(listenerLock);
        listener = missListener;
    }
    if (listener) (*listener)(english);
}

// The English text in the selected vocabulary's words.
std::string baseText(std::string_view english) {
    if (selectedVocabulary() == Vocabulary::linuxSystem) {
        if (const auto linuxWording = LinuxWords::wording(english)) return std::string(*linuxWording);
    }
    return std::string(english);
}

// gettext hands back the very text it was given when its catalogue has none.
std::string lookUp(const std::string& key) {
    const char* found = dgettext(translationDomain, key.c_str());
    if (found == key.c_str()) reportMiss(key);
    return found;
}

std::string filled(const std::string& pattern, std::initializer_list<std::string_view> arguments) {
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

}  // namespace

std::string localized(std::string_view english) {
    const std::string base = baseText(english);
    // The empty text is the key of the catalogue's header, never a translation.
    if (base.empty()) return base;
    return lookUp(base);
}

std::string localizedFormat(std::string_view englishTemplate, std::initializer_list<std::string_view> arguments) {
    return filled(localized(englishTemplate), arguments);
}

std::string localizedPlural(std::string_view singular, std::string_view plural, unsigned long count,
                            std::initializer_list<std::string_view> arguments) {
    const std::string one = baseText(singular);
    const std::string many = baseText(plural);
    const char* found = dngettext(translationDomain, one.c_str(), many.c_str(), count);
    if (found == one.c_str() || found == many.c_str()) reportMiss(one);
    return filled(found, arguments);
}

std::string localizedIn(std::string_view context, std::string_view english) {
    const std::string base = baseText(english);
    if (base.empty()) return base;
    const std::string key = std::string(context) + '\x04' + base;
    const char* found = dgettext(translationDomain, key.c_str());
    if (found != key.c_str()) return found;
    reportMiss(key);
    return base;
}

void listenForMissedTranslations(std::function<void(std::string_view english)> listener) {
    const std::lock_guard hold(listenerLock);
    missListener = listener ? std::make_shared<const std::function<void(std::string_view)>>(std::move(listener))
                            : nullptr;
}

}  // namespace kestrix
