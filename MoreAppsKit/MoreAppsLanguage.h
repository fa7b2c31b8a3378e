#pragma once

#include <string>
#include <string_view>
#include <vector>

// The one language the list speaks, chosen once per process: its own texts and the
// entries' `localized` texts follow it.
namespace moreapps::MoreAppsLanguage {

inline constexpr std::string_view english = "en";
inline constexpr std::string_view spanish = "es";

// The language code of an identifier such as "es-MX", "es_ES.UTF-8" or "fr"; the
// identifier itself when it has no separator.
std::string code(std::string_view identifier);

// The first of the user's preferred languages, in order, that the list speaks; English
// when none is.
std::string choose(const std::vector<std::string>& preferredLanguages);

}  // namespace moreapps::MoreAppsLanguage
