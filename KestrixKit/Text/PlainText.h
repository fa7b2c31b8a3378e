#pragma once

#include <string>
#include <string_view>

// Byte-level text rules for system output and paths (no Unicode awareness needed).
namespace kestrix::text {

// The text without any of the given characters at either end.
std::string_view trimming(std::string_view text, std::string_view characters);
// The text without spaces and tabs at either end; line breaks are kept.
std::string_view trimmingBlanks(std::string_view text);
// The last component of a path, as a file manager names a file; "/" stays "/".
std::string lastPathComponent(std::string_view path);

}  // namespace kestrix::text
