#pragma once

#include <filesystem>

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

}  // namespace kestrix::Translations
