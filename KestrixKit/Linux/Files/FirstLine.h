#pragma once

#include <filesystem>
#include <string>

namespace kestrix {

// The first line of a small text file such as a sysfs attribute, without its newline; empty
// when the file is missing or unreadable, which sysfs callers treat as "not set".
std::string readFirstLine(const std::filesystem::path& file);

}  // namespace kestrix
