#include "KestrixApp/Desktop/Updates/Updater.h"

#include <QSettings>

#include "KestrixApp/Desktop/Updates/DailyCheck.h"
#include "KestrixApp/Desktop/Updates/FeedRequests.h"
#include "KestrixApp/Desktop/Updates/UpdateAlerts.h"
#include "KestrixApp/Desktop/Updates/VersionOrder.h"

namespace kestrix::desktop {

Updater::Updater(UpdateAlerts& alerts, QSettings& settings, UpdaterOptions options, QObject* parent)
    : QObject(parent), alerts_(alerts), settings_(settings), options_(std::move(options)) {
    dailyTimer_.setSingleShot(true);
    connect(&dailyTimer_, &QTimer::timeout, this, [this] {
        // A check already under way reschedules the next one when it ends.
        if (!checking_) start(true);
    });
}

void Updater::checkForUpdates() {
    if (checking_) {
        quiet_ = false;
        return;
    }
    start(false);
}

void Updater::startDailyChecks() {
    dailyChecks_ = true;
    scheduleDailyCheck();
}

std::optional<std::chrono::milliseconds> Updater::dailyCheckDelay() const {
    if (!dailyTimer_.isActive()) return std::nullopt;
    return dailyTimer_.intervalAsDuration();
}

void Updater::start(bool quiet) {
    checking_ = true;
    quiet_ = quiet;
    settings_.setValue(lastCheckKey, options_.now().toString(Qt::ISODateWithMs));
    probe(network_, options_.feed, options_.timeout, this, [this](ProbeResult result) { probed(result); });
}

void Updater::probed(ProbeResult result) {
    switch (result) {
    case ProbeResult::noFeed:
        return finish(UpdateOutcome::upToDate);
    case ProbeResult::unreachable:
        return finish(UpdateOutcome::couldNotCheck);
    case ProbeResult::reachable:
        return download(network_, options_.feed, options_.timeout, this,
                        [this](const std::optional<QByteArray>& appcast) { feedRead(appcast); });
    }
}

void Updater::feedRead(const std::optional<QByteArray>& appcast) {
    const auto newest = appcast ? newestRelease(*appcast, options_.feed) : std::nullopt;
    if (!newest) return finish(UpdateOutcome::couldNotCheck);
    if (compareVersions(newest->version.toStdString(), options_.version.toStdString()) > 0) {
        return finish(UpdateOutcome::newVersion, newest);
    }
    finish(UpdateOutcome::upToDate);
}

void Updater::finish(UpdateOutcome outcome, const std::optional<AppcastRelease>& release) {
    checking_ = false;
    if (dailyChecks_) scheduleDailyCheck();
    present(outcome, release);
    emit checkFinished(outcome);
}

void Updater::present(UpdateOutcome outcome, const std::optional<AppcastRelease>& release) {
    switch (outcome) {
    case UpdateOutcome::upToDate:
        if (!quiet_) alerts_.upToDate(upToDateNotice(options_.appName, options_.version));
        return;
    case UpdateOutcome::couldNotCheck:
        if (!quiet_) alerts_.couldNotCheck(couldNotCheckNotice(options_.appName));
        return;
    case UpdateOutcome::newVersion: {
        const auto notice = newVersionNotice(options_.appName, options_.version, release->version);
        if (quiet_) {
            alerts_.newVersionFound(notice, release->downloadPage);
        } else {
            alerts_.newVersion(notice, release->downloadPage);
        }
        return;
    }
    }
}

void Updater::scheduleDailyCheck() { dailyTimer_.start(delayUntilNextCheck(lastCheck(), options_.now())); }

std::optional<QDateTime> Updater::lastCheck() const {
    const auto stored = QDateTime::fromString(settings_.value(lastCheckKey).toString(), Qt::ISODateWithMs);
    if (!stored.isValid()) return std::nullopt;
    return stored;
}

}  // namespace kestrix::desktop
