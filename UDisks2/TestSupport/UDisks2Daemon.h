#pragma once

#include <memory>
#include <optional>
#include <string>

#include "UDisks2/TestSupport/PolkitDaemon.h"
#include "UDisks2/TestSupport/PrivateBus.h"
#include "UDisks2/TestSupport/SharedDeviceManager.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"

namespace kestrix::test {

// The real disk service on a private system bus, with a device manager (udev) shared with the
// other tests, so that the service learns of new block devices. With polkit rules, polkitd decides
// for the service's callers as those rules say, so that ordinary users may use it. Everything it
// started is stopped by pid when it goes. Needs root.
class UDisks2Daemon {
public:
    explicit UDisks2Daemon(const std::optional<std::string>& polkitRules = std::nullopt);
    UDisks2Daemon(const UDisks2Daemon&) = delete;
    UDisks2Daemon& operator=(const UDisks2Daemon&) = delete;
    ~UDisks2Daemon();

    // Why the service could not start; nothing when it runs.
    const std::optional<std::string>& skipReason() const { return skipReason_; }
    const PrivateBus& bus() const { return bus_; }

private:
    std::optional<std::string> skipReason_;
    PrivateBus bus_;
    std::unique_ptr<SharedDeviceManager> deviceManager_;
    std::unique_ptr<PolkitDaemon> authority_;
    std::unique_ptr<ChildProcess> service_;
};

}  // namespace kestrix::test
