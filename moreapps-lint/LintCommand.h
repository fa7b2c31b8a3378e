#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace moreapps::LintCommand {

inline constexpr int exitValid = 0;
inline constexpr int exitInvalid = 1;
inline constexpr int exitUsage = 2;

// Checks the feed file named in `arguments` (without the program name) and prints
// the verdict, or with --show the link each visible entry opens. Returns the exit status.
int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace moreapps::LintCommand
