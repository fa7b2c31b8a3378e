#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "KestrixKit/Tests/Support/ChildProcess.h"

namespace kestrix::test {

// polkit's authority on a test's own system bus, deciding by the given JavaScript rules alone.
// The rules folder is bind-mounted over /etc/polkit-1/rules.d in polkitd's own mount namespace, so
// the machine's polkit configuration is never read or touched. Stopped by its pid when it goes.
// Needs root.
class PolkitDaemon {
public:
    PolkitDaemon(const std::string& busAddress, const std::string& rules);
    PolkitDaemon(const PolkitDaemon&) = delete;
    PolkitDaemon& operator=(const PolkitDaemon&) = delete;
    ~PolkitDaemon();

    // Why polkitd could not start; nothing when it runs.
    const std::optional<std::string>& skipReason() const { return skipReason_; }

private:
    std::optional<std::string> skipReason_;
    std::filesystem::path folder_;
    std::unique_ptr<ChildProcess> daemon_;
};

}  // namespace kestrix::test
