#include "KestrixKit/Linux/Apps/MessageLocales.h"

#include <algorithm>

namespace kestrix {
namespace {

void appendVariants(std::string_view locale, std::vector<std::string>& locales) {
    std::string_view modifier;
    if (const std::size_t at = locale.find('@'); at != std::string_view::npos) {
        modifier = locale.substr(at);
        locale = locale.substr(0, at);
    }
    locale = locale.substr(0, locale.find('.'));
    const std::string_view language = locale.substr(0, locale.find('_'));
    if (language.empty()) return;
    std::vector<std::string> variants;
    if (!modifier.empty()) variants.push_back(std::string(locale) + std::string(modifier));
    variants.emplace_back(locale);
    if (!modifier.empty()) variants.push_back(std::string(language) + std::string(modifier));
    variants.emplace_back(language);
    for (std::string& variant : variants) {
        if (std::find(locales.begin(), locales.end(), variant) == locales.end()) locales.push_back(std::move(variant));
    }
}

}  // namespace

std::vector<std::string> preferredLocales(const MessageLocaleSettings& settings) {
    const std::string& locale = !settings.all.empty()        ? settings.all
                                : !settings.messages.empty() ? settings.messages
                                                             : settings.lang;
    const std::string_view base = std::string_view(locale).substr(0, locale.find_first_of(".@"));
    if (base.empty() || base == "C" || base == "POSIX") return {};
    std::vector<std::string> locales;
    std::string_view preferences = settings.language;
    while (!preferences.empty()) {
        const std::size_t colon = preferences.find(':');
        appendVariants(preferences.substr(0, colon), locales);
        preferences.remove_prefix(colon == std::string_view::npos ? preferences.size() : colon + 1);
    }
    appendVariants(locale, locales);
    return locales;
}

}  // namespace kestrix
