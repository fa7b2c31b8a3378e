#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Unicode-aware text rules shared by the logic (names typed by users, sorting of names).
namespace kestrix::text {

// The text without white space and line breaks at either end.
std::string trimmed(std::string_view utf8);

// Equality that ignores letter case and diacritics, independent of any locale.
bool equalIgnoringCaseAndDiacritics(std::string_view a, std::string_view b);

// The text in lower case, independent of any locale.
std::string lowercased(std::string_view utf8);

// The number of user-perceived characters (grapheme clusters).
std::size_t characterCount(std::string_view utf8);

// Case-insensitive ordering by the current locale's collation: negative, zero or positive.
int localizedCaseInsensitiveCompare(std::string_view a, std::string_view b);

}  // namespace kestrix::text
