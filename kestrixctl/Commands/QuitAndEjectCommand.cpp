#include <charconv>
#include <cstdint>
#include <set>
#include <string>

#include "kestrixctl/Commands/Commands.h"
#include "kestrixctl/DriveSelection.h"
#include "kestrixctl/FlushLine.h"
#include "kestrixctl/ReleaseWatch.h"
#include "kestrixctl/ReportOutput.h"
#include "KestrixKit/System/SystemEjectFlow.h"

namespace kestrixctl {
namespace {

std::optional<std::int32_t> parsedPID(const std::string& text) {
    std::int32_t pid = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
    if (error != std::errc() || end != text.data() + text.size() || pid < 1) return std::nullopt;
    return pid;
}

}  // namespace

int runQuitAndEject(const Invocation& invocation) {
    const auto parsed =
        parseCommandArguments(invocation.options.commandWords, driveListingGrammar({"--json"}, 1, {"--end"}));
    if (const auto* error = std::get_if<ArgumentError>(&parsed)) return usageError(invocation, error->message);
    const auto& arguments = std::get<CommandArguments>(parsed);

    std::set<std::int32_t> endProcesses;
    for (const std::string& text : arguments.all("--end")) {
        const std::optional<std::int32_t> pid = parsedPID(text);
        if (!pid) return usageError(invocation, "--end needs a process id, not " + text);
        endProcesses.insert(*pid);
    }
    const std::optional<kestrix::Drive> drive = findDrive(invocation, arguments, arguments.positionals.front());
    if (!drive) return exitNotDone;

    const bool json = arguments.has("--json");
    kestrix::EjectFlow flow = kestrix::ejectFlow(invocation.system);
    showFlushOnTerminal(flow, invocation.err, json);
    const kestrix::ScanResult scan = flow.check(*drive);
    return finishEject(invocation,
                       watchUntilReleased(invocation, flow, flow.quitAndEject(*drive, scan.holders, endProcesses), json),
                       json);
}

}  // namespace kestrixctl
