#include "kestrixctl/Commands/Commands.h"
#include "kestrixctl/DriveSelection.h"
#include "kestrixctl/FlushLine.h"
#include "kestrixctl/ReleaseWatch.h"
#include "kestrixctl/ReportOutput.h"
#include "KestrixKit/System/SystemEjectFlow.h"

namespace kestrixctl {

int runEjectAll(const Invocation& invocation) {
    const auto parsed = parseCommandArguments(invocation.options.commandWords, driveListingGrammar({"--json"}, 0));
    if (const auto* error = std::get_if<ArgumentError>(&parsed)) return usageError(invocation, error->message);
    const auto& arguments = std::get<CommandArguments>(parsed);

    const std::vector<kestrix::Drive> drives = listDrives(invocation.system, arguments);
    const bool json = arguments.has("--json");
    kestrix::EjectFlow flow = kestrix::ejectFlow(invocation.system);
    showFlushOnTerminal(flow, invocation.err, json);
    std::vector<kestrix::DriveReport> reports = flow.ejectAll(drives);
    // The others are ejected first; then each drive left detached is watched until it is released.
    for (kestrix::DriveReport& report : reports) report = watchUntilReleased(invocation, flow, std::move(report), json);
    return finishEjectAll(invocation, reports, json);
}

}  // namespace kestrixctl
