#include <iostream>
#include <string>
#include <vector>

#include "kestrixctl/Commands/Commands.h"
#include "kestrixctl/Usage.h"

using namespace kestrixctl;

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    const auto parsed = parseGlobalOptions(words);
    if (const auto* error = std::get_if<ArgumentError>(&parsed)) {
        std::cerr << "kestrixctl: " << error->message << '\n' << usageLine << '\n';
        return exitUsage;
    }
    const GlobalOptions& options = std::get<GlobalOptions>(parsed);
    if (options.help) {
        std::cout << helpText;
        return exitSuccess;
    }
    const Command command = findCommand(options.command);
    if (!command) {
        std::cerr << "kestrixctl: unknown command " << options.command << '\n' << usageLine << '\n';
        return exitUsage;
    }
    auto context = makeSystemContext(options);
    if (const auto* error = std::get_if<ContextError>(&context)) {
        std::cerr << "kestrixctl: " << error->message << '\n';
        return exitUsage;
    }
    SystemContext& system = std::get<SystemContext>(context);
    kestrix::selectVocabulary(system.vocabulary());
    return command(Invocation{system, options, std::cout, std::cerr});
}
