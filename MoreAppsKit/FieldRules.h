#pragma once

#include <cstddef>
#include <string_view>

// The rules a single feed field must pass.
namespace moreapps::FieldRules {

// At most 60 characters of lower-case ASCII letters, digits and "-", not starting with "-".
bool isToken(std::string_view text);

// At most `limit` characters, not blank after trimming spaces and tabs, no disallowed scalar.
bool passesTextRule(std::string_view text, std::size_t limit);

// 1 to 60 characters of lower-case ASCII letters, digits and ".".
bool isSymbolName(std::string_view text);

// 1 to 100 characters of ASCII letters, digits, "." and "-".
bool isBundleIdentifier(std::string_view text);

// Exactly two lower-case ASCII letters.
bool isLanguageCode(std::string_view text);

bool isTintName(std::string_view text);

}  // namespace moreapps::FieldRules
