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
    // On a loaded machine a reused loop device's change event is sometimes lost, and the service
    // keeps the device's old contents; asking udev to announce it again every few seconds mends that.
    int attempts = 0;
    const bool known = eventually([&] {
        if (++attempts % 40 == 0) runQuietly("udevadm trigger --action=change --settle " + device);
        return commandOutput("env " + quoted(bus) + " udisksctl info -b " + device + " 2>/dev/null").find(image.label()) !=
               std::string::npos;
    });
    if (!known) return std::nullopt;
    for (int attempt = 0; attempt < 3; ++attempt) {
        runQuietly(user.shellLine({bus}, {"udisksctl", "mount", "-b", image.device(), "--no-user-interaction"}));
        if (auto mounted = image.mountPoint()) return mounted;
        runQuietly("udevadm trigger --action=change --settle " + device);
    }
    return std::nullopt;
}

}  // namespace kestrix::test
