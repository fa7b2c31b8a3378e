// Any bytes as a link: parsing never fails, and a drive name it finds is valid UTF-8 with no
// white space at either end and not empty.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "KestrixKit/Automation/URLCommand.h"
#include "KestrixKit/Text/UnicodeText.h"
#include "KestrixKit/Text/ValidUTF8.h"

namespace {

void checkDriveName(const std::string& name) {
    if (name.empty() || kestrix::text::validUTF8(name) != name || kestrix::text::trimmed(name) != name) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto command = kestrix::URLCommand::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!command) return 0;
    if (const auto* eject = std::get_if<kestrix::URLCommand::Eject>(&command->command)) checkDriveName(eject->drive);
    if (const auto* check = std::get_if<kestrix::URLCommand::Check>(&command->command)) checkDriveName(check->drive);
    return 0;
}
