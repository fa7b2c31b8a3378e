#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Where the compiled catalogues of the texts' translations live, and how a program turns
// them on. The language follows the environment as gettext reads it: LANGUAGE (a list, in
// order of preference), then LC_ALL, LC_MESSAGES and LANG.
namespace kestrix::Translations {

// The catalogue folder ("<language>/LC_MESSAGES/kestrix.mo" inside): beside the installed
// program when it is there, otherwise the build's.
std::filesystem::path folder();

// The catalogue folder for a program file, as `folder` decides it.
std::filesystem::path folder(const std::filesystem::path& programFile);

// Makes localized() answer from the catalogues in `folder`, in UTF-8. Only the messages
// follow the environment's locale; numbers and dates keep theirs.
void use(const std::filesystem::path& folder);

// The language of the catalogue localized() answers from ("es"); empty when it answers in
// English, the base language. Lets the program's other texts follow the same choice.
std::string language();

// The "Language:" field of a catalogue's header; empty when there is none.
std::string headerLanguage(std::string_view header);

}  // namespace kestrix::Translations
