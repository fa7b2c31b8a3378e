#include "KestrixApp/Desktop/Updates/UpdateTexts.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include "KestrixApp/Desktop/Updates/UpdateBuildSettings.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::desktop {

namespace {

QString text(std::string_view english) { return QString::fromStdString(localized(english)); }

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QString appNameForUpdates() {
    if (const auto displayName = QGuiApplication::applicationDisplayName(); !displayName.isEmpty()) return displayName;
    if (const auto name = QCoreApplication::applicationName(); !name.isEmpty()) return name;
    return text("This app");
}

QString appVersionForUpdates() {
    const auto version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? buildVersion() : version;
}

UpdateNotice upToDateNotice(const QString& appName, const QString& version) {
    return {.title = text("You’re up to date"),
            .message = fromUtf8(localizedFormat("%1 %2 is the newest version. %1 checks for updates on its own and "
                                                "will let you know when there’s a new one.",
                                                {appName.toStdString(), version.toStdString()}))};
}

UpdateNotice couldNotCheckNotice(const QString& appName) {
    return {.title = text("Couldn’t check for updates"),
            .message = fromUtf8(localizedFormat(
                "Check your internet connection and try again. %1 also checks on its own about once a day.",
                {appName.toStdString()}))};
}

UpdateNotice newVersionNotice(const QString& appName, const QString& version, const QString& newVersion) {
    return {.title = fromUtf8(localizedFormat("%1 %2 is available", {appName.toStdString(), newVersion.toStdString()})),
            .message = fromUtf8(localizedFormat(
                "You have version %1. Its download page has the new version and what changed.", {version.toStdString()}))};
}

}  // namespace kestrix::desktop
