#include "KestrixApp/Desktop/Updates/UpdateTexts.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include "KestrixApp/Desktop/Updates/UpdateBuildSettings.h"

namespace kestrix::desktop {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("Updater", text); }

}  // namespace

QString appNameForUpdates() {
    if (const auto displayName = QGuiApplication::applicationDisplayName(); !displayName.isEmpty()) return displayName;
    if (const auto name = QCoreApplication::applicationName(); !name.isEmpty()) return name;
    return tr("This app");
}

QString appVersionForUpdates() {
    const auto version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? buildVersion() : version;
}

UpdateNotice upToDateNotice(const QString& appName, const QString& version) {
    return {.title = tr("You’re up to date"),
            .message = tr("%1 %2 is the newest version. %1 checks for updates on its own and will let you know "
                          "when there’s a new one.")
                           .arg(appName, version)};
}

UpdateNotice couldNotCheckNotice(const QString& appName) {
    return {.title = tr("Couldn’t check for updates"),
            .message = tr("Check your internet connection and try again. %1 also checks on its own about once a day.")
                           .arg(appName)};
}

UpdateNotice newVersionNotice(const QString& appName, const QString& version, const QString& newVersion) {
    return {.title = tr("%1 %2 is available").arg(appName, newVersion),
            .message = tr("You have version %1. Its download page has the new version and what changed.").arg(version)};
}

}  // namespace kestrix::desktop
