#include <algorithm>
#include <cctype>
#include <iostream>
#include <string>

#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Text/UnicodeText.h"
#include "TextSupport/VisibleText.h"
#include "kestrixctl/Commands/Commands.h"
#include "kestrixctl/DriveSelection.h"
#include "kestrixctl/FlushLine.h"
#include "kestrixctl/ReleaseWatch.h"
#include "kestrixctl/ReportOutput.h"
#include "KestrixKit/System/SystemEjectFlow.h"

namespace kestrixctl {
namespace {

// A forced eject can damage open files, so on this machine the user confirms it on the
// terminal first; a simulated system has nothing to lose.
bool confirmsForcedEject(const Invocation& invocation, const CommandArguments& arguments,
                         const kestrix::Drive& drive) {
    if (arguments.has("--yes") || invocation.system.isSimulated()) return true;
    invocation.err << kestrix::localizedFormat("Force eject %1?", {textsupport::visibleText(drive.name())}) << ' '
                   << kestrix::localized("macOS unmounts the drive even though something is using it. Files that "
                                         "are open on it can lose unsaved changes or be damaged.")
                   << " [y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    answer = kestrix::text::trimmed(answer);
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char character) { return static_cast<char>(std::tolower(character)); });
    return answer == "y" || answer == "yes";
}

}  // namespace

int runEject(const Invocation& invocation) {
    const auto parsed =
        parseCommandArguments(invocation.options.commandWords, driveListingGrammar({"--json", "--force", "--yes"}, 1));
    if (const auto* error = std::get_if<ArgumentError>(&parsed)) return usageError(invocation, error->message);
    const auto& arguments = std::get<CommandArguments>(parsed);

    const std::optional<kestrix::Drive> drive = findDrive(invocation, arguments, arguments.positionals.front());
    if (!drive) return exitNotDone;
    const bool force = arguments.has("--force");
    if (force && !confirmsForcedEject(invocation, arguments, *drive)) {
        invocation.err << kestrix::localizedFormat("%1 was not ejected.", {textsupport::visibleText(drive->name())}) << '\n';
        return exitNotDone;
    }
    const bool json = arguments.has("--json");
    kestrix::EjectFlow flow = kestrix::ejectFlow(invocation.system);
    showFlushOnTerminal(flow, invocation.err, json);
    return finishEject(invocation, watchUntilReleased(invocation, flow, flow.eject(*drive, force), json), json);
}

}  // namespace kestrixctl
