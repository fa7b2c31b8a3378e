#include "kestrixctl/DriveSelection.h"

#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Volumes/VolumeList.h"
#include "TextSupport/VisibleText.h"

namespace kestrixctl {

CommandGrammar driveListingGrammar(std::initializer_list<std::string> flags, std::size_t positionals,
                                   std::initializer_list<std::string> valuedOptions) {
    CommandGrammar grammar{.flags = flags, .valuedOptions = valuedOptions,
                           .minimumPositionals = positionals, .maximumPositionals = positionals};
    grammar.flags.insert({"--show-disk-images", "--show-network-shares"});
    return grammar;
}

std::vector<kestrix::Drive> listDrives(kestrix::SystemContext& system, const CommandArguments& arguments) {
    const kestrix::VolumeFilter filter{.diskImages = arguments.has("--show-disk-images"),
                                       .networkShares = arguments.has("--show-network-shares")};
    return kestrix::VolumeList::drives(*system.volumes, filter);
}

namespace {

// Why a drive of that name is not listed when it is connected: it is of a kind the options hide.
std::optional<std::string> hiddenDriveText(kestrix::SystemContext& system, const std::string& name) {
    for (const kestrix::Drive& drive : kestrix::VolumeList::drives(*system.volumes, {.diskImages = true, .networkShares = true})) {
        if (!drive.matches(name)) continue;
        const std::string shown = textsupport::visibleText(drive.name());
        if (drive.kind() == kestrix::VolumeKind::diskImage)
            return kestrix::localizedFormat("%1 is a disk image, and disk images are hidden: add --show-disk-images.", {shown});
        return kestrix::localizedFormat("%1 is a network share, and network shares are hidden: add --show-network-shares.", {shown});
    }
    return std::nullopt;
}

}  // namespace

std::optional<kestrix::Drive> findDrive(const Invocation& invocation, const CommandArguments& arguments,
                                        const std::string& name) {
    for (kestrix::Drive& drive : listDrives(invocation.system, arguments)) {
        if (drive.matches(name)) return std::move(drive);
    }
    if (const auto hidden = hiddenDriveText(invocation.system, name)) {
        invocation.err << *hidden << '\n';
        return std::nullopt;
    }
    invocation.err << kestrix::localizedFormat("No drive named %1 is connected.", {textsupport::visibleText(name)}) << '\n';
    return std::nullopt;
}

}  // namespace kestrixctl
