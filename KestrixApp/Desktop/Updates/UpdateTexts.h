#pragma once

#include <QString>

namespace kestrix::desktop {

// What an update alert or notification says.
struct UpdateNotice {
    QString title;
    QString message;

    bool operator==(const UpdateNotice&) const = default;
};

// The name the texts use: the application's display name, else its name, else "This app".
QString appNameForUpdates();
// The version the texts use and feeds are compared with: the application's version when it has
// one, else the version this build was made as.
QString appVersionForUpdates();

UpdateNotice upToDateNotice(const QString& appName, const QString& version);
UpdateNotice couldNotCheckNotice(const QString& appName);
UpdateNotice newVersionNotice(const QString& appName, const QString& version, const QString& newVersion);

}  // namespace kestrix::desktop
