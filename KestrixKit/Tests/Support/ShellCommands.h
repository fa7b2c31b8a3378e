#pragma once

#include <string>

namespace kestrix::test {

// What a shell command prints, without its trailing newlines.
std::string commandOutput(const std::string& command);

// Runs a shell command with its output discarded; whether it succeeded.
bool runQuietly(const std::string& command);

}  // namespace kestrix::test
