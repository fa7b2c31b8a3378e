#pragma once

#include <string>
#include <vector>

namespace kestrixctl::testing {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built kestrixctl with these words, standard input from the given text, and
// collects its exit status and both output streams.
RunResult run(const std::vector<std::string>& words, const std::string& input = "");

// The same for any command line, program path first.
RunResult runCommand(std::vector<std::string> arguments, const std::string& input = "");

}  // namespace kestrixctl::testing
