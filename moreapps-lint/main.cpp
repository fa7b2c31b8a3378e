#include <iostream>

#include "moreapps-lint/LintCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return moreapps::LintCommand::run(arguments, std::cout, std::cerr);
}
