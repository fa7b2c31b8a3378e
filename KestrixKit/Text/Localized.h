#pragma once

#include <string>
#include <string_view>

// The one translation point for user-visible texts. English is the base language: a text
// is its own key, and a sentence that carries values uses "%1", "%2", … placeholders so
// that a translation may move them. The selected vocabulary (Vocabulary.h) decides whose
// names for things the base language uses; the text in those words is then looked up in the
// gettext catalogue of the user's language (bound by the program, see Translations.h).
namespace kestrix {

inline constexpr const char* translationDomain = "kestrix";

std::string localized(std::string_view english);

// The localized template with "%1".."%9" replaced by the arguments in order.
std::string localizedFormat(std::string_view englishTemplate, std::initializer_list<std::string_view> arguments);

}  // namespace kestrix
