#pragma once

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>

#include "KestrixApp/Desktop/Updates/Appcast.h"
#include "KestrixApp/Desktop/Updates/ProbeResult.h"
#include "KestrixApp/Desktop/Updates/UpdateBuildSettings.h"
#include "KestrixApp/Desktop/Updates/UpdateTexts.h"

class QSettings;

namespace kestrix::desktop {

class UpdateAlerts;

enum class UpdateOutcome { upToDate, newVersion, couldNotCheck };

struct UpdaterOptions {
    QUrl feed = QUrl(updateFeedAddress());
    std::chrono::milliseconds timeout = std::chrono::seconds(15);
    QString appName = appNameForUpdates();
    QString version = appVersionForUpdates();
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTimeUtc(); };
};

// Checks the appcast for a newer version: when the user asks, with an alert for every outcome,
// and on its own about once a day, quietly unless there is something new.
// A check probes the feed with HEAD first; a feed that is gone means there is nothing newer.
class Updater : public QObject {
    Q_OBJECT
public:
    // The settings keep the time of the last check under `lastCheckKey`.
    Updater(UpdateAlerts& alerts, QSettings& settings, UpdaterOptions options = {}, QObject* parent = nullptr);

    static constexpr const char* lastCheckKey = "lastUpdateCheck";

    // The user's "Check for Updates…". Ignored while a check runs, except that a daily check
    // under way then reports its outcome as if the user had asked.
    void checkForUpdates();

    // Checks now when the last check is a day old (or there was none), else when it will be, and
    // then a day after each check. Each wait is one single-shot timer.
    void startDailyChecks();

    bool isChecking() const { return checking_; }
    // How long the scheduled daily check waits in all; nothing before startDailyChecks().
    std::optional<std::chrono::milliseconds> dailyCheckDelay() const;

signals:
    // After the outcome has been handed to the alerts (or kept quiet).
    void checkFinished(kestrix::desktop::UpdateOutcome outcome);

private:
    void start(bool quiet);
    void probed(ProbeResult result);
    void feedRead(const std::optional<QByteArray>& appcast);
    void finish(UpdateOutcome outcome, const std::optional<AppcastRelease>& release = std::nullopt);
    void present(UpdateOutcome outcome, const std::optional<AppcastRelease>& release);
    void scheduleDailyCheck();
    std::optional<QDateTime> lastCheck() const;

    UpdateAlerts& alerts_;
    QSettings& settings_;
    UpdaterOptions options_;
    QNetworkAccessManager network_;
    QTimer dailyTimer_;
    bool dailyChecks_ = false;
    bool checking_ = false;
    bool quiet_ = false;
};

}  // namespace kestrix::desktop
