#pragma once

#include <map>
#include <string>
#include <string_view>

// The key file format of desktop entries and Flatpak's instance info: "[Group]" headers,
// "Key=Value" and "Key[locale]=Value" lines, "#" comments.
namespace kestrix::keyfile {

// Raw values by key (with any "[locale]" part) of the first group with this name; the first
// of repeated keys wins. Empty when the group is missing.
using Group = std::map<std::string, std::string, std::less<>>;
Group group(std::string_view text, std::string_view name);

// A string value with its escapes \s \n \t \r \\ resolved; other backslashes stay as written.
std::string unescaped(std::string_view value);

}  // namespace kestrix::keyfile
