#include "KestrixApp/Desktop/Updates/UpdateTexts.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <string>

#include "KestrixApp/Desktop/Updates/UpdateBuildSettings.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::desktop {

namespace {

// Through the app's one translation point, as every other text.
QString text(const char* english) { return QString::fromStdString(localized(english)); }

QString textFormat(const char* english, const QString& first, const QString& second = {}) {
    const std::string firstValue = first.toStdString();
    const std::string secondValue = second.toStdString();
    return QString::fromStdString(localizedFormat(english, {firstValue, secondValue}));
}

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
            .message = textFormat("%1 %2 is the newest version. %1 checks for updates on its own and will let you "
                                  "know when there’s a new one.",
                                  appName, version)};
}

UpdateNotice couldNotCheckNotice(const QString& appName) {
    return {.title = text("Couldn’t check for updates"),
            .message = textFormat("Check your internet connection and try again. %1 also checks on its own about "
                                  "once a day.",
                                  appName)};
}

UpdateNotice newVersionNotice(const QString& appName, const QString& version, const QString& newVersion) {
    return {.title = textFormat("%1 %2 is available", appName, newVersion),
            .message = textFormat("You have version %1. Its download page has the new version and what changed.",
                                  version)};
}

}  // namespace kestrix::desktop
