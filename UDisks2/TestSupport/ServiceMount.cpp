#include "UDisks2/TestSupport/ServiceMount.h"

#include "KestrixKit/Tests/Support/ShellCommands.h"
#include "UDisks2/TestSupport/Eventually.h"

namespace kestrix::test {
namespace {

std::string quoted(const std::string& word) { return "'" + word + "'"; }

}  // namespace

std::optional<std::string> mountThroughTheService(const UDisks2Daemon& service, const LoopImage& image,
                                                  const OrdinaryUser& user) {
    const std::string bus = "DBUS_SYSTEM_BUS_ADDRESS=" + service.bus().address();
    const std::string device = quoted(image.device());
    const bool known = eventually([&] {
        return commandOutput("env " + quoted(bus) + " udisksctl info -b " + device + " 2>/dev/null").find(image.label()) !=
               std::string::npos;
    });
    if (!known) return std::nullopt;
    runQuietly(user.shellLine({bus}, {"udisksctl", "mount", "-b", image.device(), "--no-user-interaction"}));
    return image.mountPoint();
}

}  // namespace kestrix::test
