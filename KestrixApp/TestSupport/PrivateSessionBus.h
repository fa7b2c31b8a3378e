#pragma once

#include <memory>
#include <string>

#include <QDBusConnection>

#include "KestrixApp/TestSupport/ServerProcess.h"

namespace kestrix::desktop::test {

// A session bus of the test's own (dbus-daemon listening in a fresh temporary folder) and a
// connection to it.
class PrivateSessionBus {
public:
    PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;
    ~PrivateSessionBus();

    // Why the bus could not start; empty while it runs.
    const std::string& problem() const { return problem_; }
    // For DBUS_SESSION_BUS_ADDRESS.
    const std::string& address() const { return address_; }
    QDBusConnection connection() const;
    // The bus's temporary folder, removed with it; tests may keep files there.
    const std::string& folder() const { return folder_; }
    // Whether the name has an owner, waited for up to five seconds.
    bool waitForOwner(const QString& name) const;

private:
    std::string folder_;
    std::unique_ptr<ServerProcess> daemon_;
    std::string address_;
    QString connectionName_;
    std::string problem_;
};

}  // namespace kestrix::desktop::test
