#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

#include <QDBusConnection>

namespace kestrix::test {

// A message bus of the test's own in a fresh temporary folder, open to every user and name.
// Stopped by its pid when it goes.
class PrivateBus {
public:
    PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;
    ~PrivateBus();

    // Why the bus could not start; nothing when it runs.
    const std::optional<std::string>& skipReason() const { return skipReason_; }
    const std::string& address() const { return address_; }
    // A connection of its own, under a name unique to this bus.
    QDBusConnection connect(const QString& name) const;

private:
    std::optional<std::string> skipReason_;
    std::filesystem::path folder_;
    std::string address_;
    pid_t pid_ = -1;
};

}  // namespace kestrix::test
