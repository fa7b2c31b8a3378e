#include <nlohmann/json.hpp>

#include "KestrixKit/Coding/JSONText.h"
#include "KestrixKit/Holders/DriveCheck.h"
#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Volumes/VolumeCoding.h"
#include "TextSupport/VisibleText.h"
#include "kestrixctl/Commands/Commands.h"
#include "kestrixctl/DriveSelection.h"
#include "kestrixctl/HolderText.h"

namespace kestrixctl {
namespace {

std::string summaryLine(const kestrix::ScanResult& scan) {
    const std::string checked = std::to_string(scan.checked);
    const std::string hidden = std::to_string(scan.hidden);
    return scan.deep ? kestrix::localizedFormat("%1 processes checked, %2 hidden, deep scan.", {checked, hidden})
                     : kestrix::localizedFormat("%1 processes checked, %2 hidden, quick scan.", {checked, hidden});
}

}  // namespace

int runCheck(const Invocation& invocation) {
    const auto parsed = parseCommandArguments(invocation.options.commandWords, driveListingGrammar({"--json", "--deep"}, 1));
    if (const auto* error = std::get_if<ArgumentError>(&parsed)) return usageError(invocation, error->message);
    const auto& arguments = std::get<CommandArguments>(parsed);

    const std::optional<kestrix::Drive> drive = findDrive(invocation, arguments, arguments.positionals.front());
    if (!drive) return exitNotDone;
    const kestrix::ScanResult scan = arguments.has("--deep") ? invocation.system.holderScanner().scan(*drive, true)
                                                              : kestrix::checkDrive(invocation.system.holderScanner(), *drive);
    const std::uint32_t currentUID = invocation.system.currentUID;

    if (arguments.has("--json")) {
        invocation.out << kestrix::coding::jsonText({{"drive", *drive}, {"scan", scanJSON(scan, currentUID)}}) << '\n';
    } else {
        for (const kestrix::Holder& holder : scan.holders) writeHolderRow(invocation.out, holder, currentUID);
        for (const kestrix::KernelHolder& holder : scan.kernelHolders) writeKernelHolderRow(invocation.out, holder);
        if (scan.isEmpty()) {
            invocation.out << kestrix::localizedFormat("Nothing is using %1. It\u2019s ready to eject.", {textsupport::visibleText(drive->name())})
                           << '\n';
        }
        invocation.out << summaryLine(scan) << '\n';
    }
    return scan.isEmpty() ? exitSuccess : exitNotDone;
}

}  // namespace kestrixctl
