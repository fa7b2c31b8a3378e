#pragma once

#include <functional>
#include <initializer_list>
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

// The form of a counted sentence that the language uses for `count` ("Blocked 1 time", "Blocked
// 3 times"), with its placeholders filled as localizedFormat does.
std::string localizedPlural(std::string_view singular, std::string_view plural, unsigned long count,
                            std::initializer_list<std::string_view> arguments);

// A text whose English word means different things in different places ("Ready" of one drive,
// and "Ready" over a count of drives): the catalogue tells them apart by the context.
std::string localizedIn(std::string_view context, std::string_view english);

// Hears every text the catalogue has no translation for, in the words looked up (a context
// comes first, joined by "\x04"), on the thread that looked it up. Meant for checking that a
// language is complete: in the base language every text is its own translation and misses.
// An empty function stops listening.
void listenForMissedTranslations(std::function<void(std::string_view english)> listener);

}  // namespace kestrix
