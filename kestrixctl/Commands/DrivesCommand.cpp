#include <nlohmann/json.hpp>

#include "KestrixKit/Coding/JSONText.h"
#include "KestrixKit/Text/ByteCountFormat.h"
#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Volumes/VolumeCoding.h"
#include "KestrixKit/Volumes/VolumeKindLabel.h"
#include "TextSupport/VisibleText.h"
#include "kestrixctl/Commands/Commands.h"
#include "kestrixctl/DriveSelection.h"

namespace kestrixctl {
namespace {

std::string sizeText(const kestrix::Drive& drive) {
    return kestrix::formatByteCount(drive.totalBytes()) + ", " +
           kestrix::localizedFormat("%1 free", {kestrix::formatByteCount(drive.freeBytes())});
}

std::string joined(const std::vector<std::string>& parts, const std::string& separator) {
    std::string result;
    for (std::size_t index = 0; index < parts.size(); ++index) result += (index ? separator : "") + parts[index];
    return result;
}

}  // namespace

int runDrives(const Invocation& invocation) {
    const auto parsed = parseCommandArguments(invocation.options.commandWords, driveListingGrammar({"--json"}, 0));
    if (const auto* error = std::get_if<ArgumentError>(&parsed)) return usageError(invocation, error->message);
    const auto& arguments = std::get<CommandArguments>(parsed);

    const std::vector<kestrix::Drive> drives = listDrives(invocation.system, arguments);
    if (arguments.has("--json")) {
        invocation.out << kestrix::coding::jsonText(drives) << '\n';
        return exitSuccess;
    }
    if (drives.empty()) invocation.out << kestrix::localized("No external drives") << '\n';
    for (const kestrix::Drive& drive : drives) {
        invocation.out << textsupport::visibleText(drive.name()) << " — " << kestrix::label(drive.kind()) << " · " << sizeText(drive)
                       << " · " << textsupport::visibleText(joined(drive.mountPaths(), ", ")) << '\n';
    }
    return exitSuccess;
}

}  // namespace kestrixctl
