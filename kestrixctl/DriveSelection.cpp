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

std::optional<kestrix::Drive> findDrive(const Invocation& invocation, const CommandArguments& arguments,
                                        const std::string& name) {
    for (kestrix::Drive& drive : listDrives(invocation.system, arguments)) {
        if (drive.matches(name)) return std::move(drive);
    }
    invocation.err << kestrix::localizedFormat("No drive named %1 is connected.", {textsupport::visibleText(name)}) << '\n';
    return std::nullopt;
}

}  // namespace kestrixctl
