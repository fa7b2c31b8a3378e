#pragma once

#include <QDBusConnection>
#include <QStringList>
#include <chrono>
#include <optional>
#include <string>

namespace kestrix::desktop {

// Launching at login from inside a Flatpak sandbox: the desktop portal's Background interface
// writes the autostart entry outside the sandbox, after asking the user where the desktop does.
class BackgroundPortal {
public:
    // commandLine: what the session runs at login; timeout: how long the user may take to answer.
    BackgroundPortal(QDBusConnection bus, QStringList commandLine,
                     std::chrono::milliseconds timeout = std::chrono::minutes(2));

    // Whether this process runs in a Flatpak sandbox, where only the portal can do this.
    static bool isSandboxed();

    // Asks the portal to start the app at login, or to stop doing so; the failure in words,
    // nothing when the portal did as asked.
    std::optional<std::string> request(bool autostart);

private:
    QDBusConnection bus_;
    QStringList commandLine_;
    std::chrono::milliseconds timeout_;
    int tokens_ = 0;
};

}  // namespace kestrix::desktop
