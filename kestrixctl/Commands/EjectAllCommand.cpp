#include "kestrixctl/Commands/Commands.h"
#include "kestrixctl/DriveSelection.h"
#include "kestrixctl/ReportOutput.h"
#include "KestrixKit/System/SystemEjectFlow.h"

namespace kestrixctl {

int runEjectAll(const Invocation& invocation) {
    const auto parsed = parseCommandArguments(invocation.options.commandWords, driveListingGrammar({"--json"}, 0));
    if (const auto* error = std::get_if<ArgumentError>(&parsed)) return usageError(invocation, error->message);
    const auto& arguments = std::get<CommandArguments>(parsed);

    const std::vector<kestrix::Drive> drives = listDrives(invocation.system, arguments);
    return finishEjectAll(invocation, kestrix::ejectFlow(invocation.system).ejectAll(drives), arguments.has("--json"));
}

}  // namespace kestrixctl
