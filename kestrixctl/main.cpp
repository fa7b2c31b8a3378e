#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "FileSupport/RegularFile.h"
#include "TextSupport/VisibleText.h"
#include "KestrixKit/Linux/Text/Translations.h"
#include "kestrixctl/Commands/Commands.h"
#include "kestrixctl/DiskService/DiskServiceEjector.h"
#include "kestrixctl/PasswordPrompt.h"
#include "kestrixctl/StartingFolder.h"
#include "kestrixctl/Usage.h"

using namespace kestrixctl;

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    const auto parsed = parseGlobalOptions(words);
    if (const auto* error = std::get_if<ArgumentError>(&parsed)) {
        std::cerr << "kestrixctl: " << textsupport::visibleText(error->message) << '\n' << usageLine << '\n';
        return exitUsage;
    }
    GlobalOptions options = std::get<GlobalOptions>(parsed);
    if (options.help) {
        std::cout << helpText;
        return exitSuccess;
    }
    const Command command = findCommand(options.command);
    if (!command) {
        std::cerr << "kestrixctl: unknown command " << textsupport::visibleText(options.command) << '\n' << usageLine << '\n';
        return exitUsage;
    }
    leaveStartingFolder(options);
    if (options.historyPath) {
        // A device, FIFO or folder given as the history is never read, moved or replaced.
        if (const auto problem = filesupport::notRegularFileProblem(*options.historyPath)) {
            std::cerr << "kestrixctl: --history: " << textsupport::visibleText(*problem) << '\n';
            return exitUsage;
        }
    }
    // Outlives the system, whose disk service may call it for a password.
    PasswordPrompt passwords(!options.noPassword, isatty(STDIN_FILENO) != 0);
    kestrix::SystemChoice choice{.worldPath = options.worldPath, .demo = options.demo};
    if (!choice.worldPath && !choice.demo) choice.desktopEjector = diskServiceEjector(passwords);
    // Traced calls carry names from the system, such as drive ids: shown, never run.
    if (options.trace) choice.trace = [](const std::string& line) { std::cerr << textsupport::visibleText(line) << '\n'; };
    auto context = kestrix::makeSystemContext(choice);
    if (const auto* error = std::get_if<kestrix::ContextError>(&context)) {
        std::cerr << "kestrixctl: " << textsupport::visibleText(error->message) << '\n';
        return exitUsage;
    }
    kestrix::SystemContext& system = std::get<kestrix::SystemContext>(context);
    kestrix::selectVocabulary(system.vocabulary());
    kestrix::Translations::use(kestrix::Translations::folder());
    const int status = command(Invocation{system, options, std::cout, std::cerr});
    if (const auto advice = passwords.advice()) std::cerr << *advice << '\n';
    return status;
}
