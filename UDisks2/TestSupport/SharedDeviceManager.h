#pragma once

#include <optional>
#include <string>

namespace kestrix::test {

// A device manager (systemd-udevd) for the disk service of a test, shared by every test process
// running at the same time. Without one the service never learns what a new block device holds.
// One the machine already runs is used as it is. One the tests start is stopped, by pid, by the
// last test process that used it: stopped while another test's service still reads its database,
// that service would lose every device it learns of later.
class SharedDeviceManager {
public:
    SharedDeviceManager();
    SharedDeviceManager(const SharedDeviceManager&) = delete;
    SharedDeviceManager& operator=(const SharedDeviceManager&) = delete;
    ~SharedDeviceManager();

    // Why there is no device manager; nothing when one runs.
    const std::optional<std::string>& skipReason() const { return skipReason_; }

private:
    std::optional<std::string> skipReason_;
    int userLock_ = -1;
};

}  // namespace kestrix::test
