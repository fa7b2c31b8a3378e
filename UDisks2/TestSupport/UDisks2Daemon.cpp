#include "UDisks2/TestSupport/UDisks2Daemon.h"

#include <unistd.h>

#include <filesystem>

#include "UDisks2/TestSupport/Eventually.h"
#include "UDisks2/UDisks2Bus.h"

namespace fs = std::filesystem;

namespace kestrix::test {
namespace {

const char* const serviceProgram = "/usr/libexec/udisks2/udisksd";

}  // namespace

UDisks2Daemon::UDisks2Daemon(const std::optional<std::string>& polkitRules) {
    if (geteuid() != 0) {
        skipReason_ = "the disk service on a private bus needs root";
        return;
    }
    if (bus_.skipReason()) {
        skipReason_ = bus_.skipReason();
        return;
    }
    if (!fs::exists(serviceProgram)) {
        skipReason_ = std::string(serviceProgram) + " is not installed";
        return;
    }
    deviceManager_ = std::make_unique<SharedDeviceManager>();
    skipReason_ = deviceManager_->skipReason();
    if (skipReason_) return;
    // The service looks for the authority once, as it starts.
    if (polkitRules) {
        authority_ = std::make_unique<PolkitDaemon>(bus_.address(), *polkitRules);
        skipReason_ = authority_->skipReason();
        if (skipReason_) return;
    }
    service_ = std::make_unique<ChildProcess>(std::vector<std::string>{
        "/bin/sh", "-c", "exec env DBUS_SYSTEM_BUS_ADDRESS='" + bus_.address() + "' " + serviceProgram + " >/dev/null 2>&1"});
    const QDBusConnection probe = bus_.connect(QStringLiteral("udisks2-probe"));
    if (!eventually([&] { return isUDisks2Available(probe); })) skipReason_ = "udisksd did not appear on the private bus";
}

UDisks2Daemon::~UDisks2Daemon() {
    service_.reset();
    authority_.reset();
    deviceManager_.reset();
}

}  // namespace kestrix::test
