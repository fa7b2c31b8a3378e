#pragma once

#include <memory>
#include <optional>
#include <string>

#include "UDisks2/TestSupport/PolkitDaemon.h"
#include "UDisks2/TestSupport/PrivateBus.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"

namespace kestrix::test {

// The real disk service on a private system bus, with a device manager (udev) when none runs, so
// that the service learns of new block devices. With polkit rules, polkitd decides for the
// service's callers as those rules say, so that ordinary users may use it. Everything it started
// is stopped by pid when it goes, and a device database it created is removed. Needs root.
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
    void startDeviceManager();

    std::optional<std::string> skipReason_;
    PrivateBus bus_;
    std::unique_ptr<ChildProcess> deviceManager_;
    std::unique_ptr<PolkitDaemon> authority_;
    bool createdDeviceDatabase_ = false;
    std::unique_ptr<ChildProcess> service_;
};

}  // namespace kestrix::test
