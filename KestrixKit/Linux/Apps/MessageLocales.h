#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

// The locale settings that choose the language of messages.
struct MessageLocaleSettings {
    std::string language;    // LANGUAGE: a colon-separated list of preferences
    std::string all;         // LC_ALL
    std::string messages;    // LC_MESSAGES
    std::string lang;        // LANG
};

// The locale suffixes to try for a localized key, most wanted first: "de_CH.UTF-8@euro" gives
// de_CH@euro, de_CH, de@euro, de. LANGUAGE comes before the locale, as for every message, and
// counts only when the locale is not C or POSIX, which want no translation at all.
std::vector<std::string> preferredLocales(const MessageLocaleSettings& settings);

}  // namespace kestrix
