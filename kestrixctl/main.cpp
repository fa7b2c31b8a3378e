#include <iostream>
#include <string>
#include <vector>

#include "KestrixKit/Linux/Text/Translations.h"
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
    kestrix::SystemChoice choice{.worldPath = options.worldPath, .demo = options.demo};
    if (options.trace) choice.trace = [](const std::string& line) { std::cerr << line << '\n'; };
    auto context = kestrix::makeSystemContext(choice);
    if (const auto* error = std::get_if<kestrix::ContextError>(&context)) {
        std::cerr << "kestrixctl: " << error->message << '\n';
        return exitUsage;
    }
    kestrix::SystemContext& system = std::get<kestrix::SystemContext>(context);
    kestrix::selectVocabulary(system.vocabulary());
    kestrix::Translations::use(kestrix::Translations::folder());
    return command(Invocation{system, options, std::cout, std::cerr});
}
