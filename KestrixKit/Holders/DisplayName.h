#pragma once

#include <string>
#include <string_view>

namespace kestrix {

// The name a user knows an executable by: the app bundle's name for an app's main
// executable (".app/Contents/MacOS/" within the last four path pieces), else the file name.
// Empty for a path without pieces.
std::string displayName(std::string_view path);

}  // namespace kestrix
