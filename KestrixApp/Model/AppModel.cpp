#include "KestrixApp/Model/AppModel.h"

#include <algorithm>
#include <utility>

#include <QDebug>
#include <QMetaObject>

#include "KestrixApp/Model/RecentReports.h"
#include "KestrixApp/Model/WorldFileWatcher.h"
#include "KestrixKit/Backups/BackupTexts.h"
#include "KestrixKit/Flow/ReportText.h"
#include "KestrixKit/History/HistoryEvent.h"
#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Volumes/EjectOrder.h"

namespace kestrix {
namespace {

constexpr double backupPollSeconds = 10;
// Two hours of polls; then the eject is tried anyway.
constexpr int backupPollLimit = 720;
// Calls on a real system may wait (a quit wait takes up to ten seconds), so that several
// drives' operations run side by side.
constexpr int concurrentCalls = 8;
// How often a detached drive is looked at again; each look costs a scan of the processes.
constexpr double releasePollSeconds = 1;

}  // namespace

struct AppModel::BackupWait {
    bool cancelled = false;
};

struct AppModel::EjectAllRun {
    // The drives listed when Eject All started; each success lists them again meanwhile.
    std::vector<Drive> drives;
    std::vector<DriveReport> reports;
    bool toast = false;
    std::function<void(std::vector<DriveReport>)> done;
};

AppModel* AppModel::current_ = nullptr;

AppModel::AppModel(bool live, AppModelParts parts, QObject* parent)
    : QObject(parent),
      live_(live),
      system_(std::make_shared<const AppSystem>(std::move(parts.system))),
      historyStore_(std::move(parts.history)),
      settings_(parts.settings ? std::move(parts.settings) : std::make_shared<AppSettings>()),
      loginItem_(std::move(parts.loginItem)),
      timer_(parts.timer ? std::move(parts.timer) : std::make_shared<ClockWaitTimer>()) {
    pool_.setMaxThreadCount(system_->oneCallAtATime ? 1 : concurrentCalls);
    launchAtLogin_ = loginItem_ && loginItem_->isEnabled();
    showDiskImages_ = settings_->flag(showDiskImagesSetting);
    showNetworkShares_ = settings_->flag(showNetworkSharesSetting);
    hotkeyEnabled_ = settings_->flag(hotkeyEnabledSetting);
    onboarded_ = settings_->flag(onboardedSetting);
    mainPage_ = settings_->choice(mainPageSetting);
    settingsTab_ = settings_->choice(settingsTabSetting);
    if (live_) history_ = historyStore_.load();
    current_ = this;
}

AppModel::~AppModel() {
    if (current_ == this) current_ = nullptr;
    // Work still running hands its result to this object; let it finish first.
    pool_.clear();
    pool_.waitForDone();
}

AppModel* AppModel::current() { return current_; }

std::uint32_t AppModel::currentUID() const { return system_->flow.currentUID; }

template <typename Result>
void AppModel::offMainThread(std::function<Result()> work, std::function<void(Result)> then) {
    pool_.start([this, work = std::move(work), then = std::move(then)] {
        Result result = work();
        QMetaObject::invokeMethod(this, [then, result] { then(result); }, Qt::QueuedConnection);
    });
}

void AppModel::later(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

DriveState AppModel::state(const std::string& driveId) const {
    const auto found = states_.find(driveId);
    return found == states_.end() ? DriveState{} : found->second;
}

DriveDisplay AppModel::display(const std::string& driveId) const { return kestrix::display(state(driveId)); }

int AppModel::attentionCount() const {
    return static_cast<int>(std::count_if(drives_.begin(), drives_.end(),
                                          [&](const Drive& drive) { return display(drive.id).needsAttention(); }));
}

void AppModel::updateAttentionCount() {
    const int count = attentionCount();
    if (count == attentionCount_) return;
    attentionCount_ = count;
    emit attentionCountChanged(count);
}

void AppModel::putState(const std::string& driveId, DriveState state) {
    const auto found = states_.find(driveId);
    if (found != states_.end() && found->second == state) return;
    states_[driveId] = std::move(state);
    emit driveStateChanged(QString::fromStdString(driveId));
    updateAttentionCount();
}

void AppModel::setBusy(const std::string& driveId, std::optional<Busy> busy) {
    DriveState changed = state(driveId);
    changed.busy = busy;
    putState(driveId, std::move(changed));
}

void AppModel::start() {
    if (!live_) return;
    if (system_->worldFile && system_->reloadWorld && !worldWatcher_) {
        worldWatcher_ = new WorldFileWatcher(QString::fromStdString(*system_->worldFile), this);
        connect(worldWatcher_, &WorldFileWatcher::changed, this, &AppModel::reloadWorld);
    }
    refresh();
}

void AppModel::reloadWorld() {
    offMainThread<bool>([system = system_] { return system->reloadWorld(); },
                        [this](bool reloaded) {
                            if (reloaded) refresh();
                        });
}

void AppModel::refresh() {
    if (!live_) return;
    const VolumeFilter filter{.diskImages = showDiskImages_, .networkShares = showNetworkShares_};
    // Overlapping refreshes each apply their list when they finish, except a list older than
    // the one on screen: it would bring back a drive ejected meanwhile.
    const std::uint64_t listing = ++listingsStarted_;
    offMainThread<std::vector<Drive>>([system = system_, filter] { return system->listDrives(filter); },
                                      [this, listing](std::vector<Drive> listed) {
                                          if (listing < newestListingShown_) return;
                                          newestListingShown_ = listing;
                                          takeDrives(std::move(listed));
                                      });
}

void AppModel::whenListed(std::function<void()> call) {
    // A preview never lists: its operations do nothing anyway.
    if (listed_ || !live_) {
        call();
        return;
    }
    heldUntilListed_.push_back(std::move(call));
}

void AppModel::takeDrives(std::vector<Drive> listed) {
    hasListed_ = true;
    std::set<std::string> known;
    for (const Drive& drive : drives_) known.insert(drive.id);
    for (const auto& [id, watched] : releaseWatches_) {
        const bool listedAgain = std::any_of(listed.begin(), listed.end(), [&](const Drive& drive) { return drive.id == id; });
        if (!listedAgain) listed.push_back(watched);
    }
    if (listed != drives_) {
        drives_ = std::move(listed);
        emit drivesChanged();
    }
    std::set<std::string> listedIds;
    for (const Drive& drive : drives_) listedIds.insert(drive.id);
    for (auto entry = states_.begin(); entry != states_.end();) {
        if (listedIds.contains(entry->first)) {
            ++entry;
            continue;
        }
        const QString gone = QString::fromStdString(entry->first);
        entry = states_.erase(entry);
        emit driveStateChanged(gone);
    }
    updateAttentionCount();
    const std::vector<Drive> listedNow = drives_;
    for (const Drive& drive : listedNow) {
        if (!known.contains(drive.id)) check(drive);
    }
    if (listed_) return;
    listed_ = true;
    for (auto& held : std::exchange(heldUntilListed_, {})) held();
}

void AppModel::check(const Drive& drive) {
    if (!live_ || state(drive.id).busy) return;
    setBusy(drive.id, Busy::checking);
    offMainThread<ScanResult>([system = system_, drive] { return system->flow.check(drive); },
                              [this, id = drive.id](ScanResult result) {
                                  DriveState checked = state(id);
                                  checked.takeScan(std::move(result));
                                  putState(id, std::move(checked));
                              });
}

void AppModel::eject(const Drive& drive, bool force, bool toast) {
    if (!live_) return;
    DriveState ejecting = state(drive.id);
    // An eject may start while a check runs.
    if (ejecting.busy && *ejecting.busy != Busy::checking) return;
    ejecting.busy = Busy::ejecting;
    ejecting.note.reset();
    putState(drive.id, std::move(ejecting));
    offMainThread<DriveReport>([system = system_, drive, force] { return system->flow.eject(drive, force); },
                               [this, toast](DriveReport report) { apply(report, toast); });
}

void AppModel::quitAndEject(const Drive& drive, const std::vector<Holder>& holders,
                            const std::set<std::int32_t>& endProcesses) {
    if (!live_) return;
    setBusy(drive.id, Busy::quitting);
    offMainThread<DriveReport>(
        [system = system_, drive, holders, endProcesses] {
            return system->flow.quitAndEject(drive, holders, endProcesses);
        },
        [this](DriveReport report) { apply(report, false); });
}

void AppModel::apply(const DriveReport& report, bool toast) {
    if (report.verdict.is<DriveVerdict::Detached>()) {
        // Not yet a result: only the release ends the attempt, and only that is recorded.
        DriveState detached = state(report.drive.id);
        const bool news = !detached.report || detached.report->verdict != report.verdict;
        detached.takeReport(report);
        putState(report.drive.id, std::move(detached));
        if (news) {
            const std::string message = ReportText::message(report);
            announce(message);
            if (toast) this->toast(message);
        }
        watchRelease(report, toast);
        return;
    }
    releaseWatches_.erase(report.drive.id);
    DriveState applied = state(report.drive.id);
    applied.takeReport(report);
    const bool success = report.verdict.isDone();
    if (success) {
        addRecent(recent_, report);
        emit recentChanged();
    }
    putState(report.drive.id, std::move(applied));
    record(report);
    const std::string message = ReportText::message(report);
    announce(message);
    if (toast) this->toast(message);
    if (success) refresh();
}

void AppModel::watchRelease(const DriveReport& detached, bool toast) {
    const bool watching = releaseWatches_.contains(detached.drive.id);
    releaseWatches_.insert_or_assign(detached.drive.id, detached.drive);
    if (watching) return;
    const Drive drive = detached.drive;
    timer_->after(releasePollSeconds, this, [this, drive, forced = detached.forced, toast] {
        // An eject asked for meanwhile has ended the watch.
        if (!releaseWatches_.contains(drive.id)) return;
        offMainThread<DriveReport>([system = system_, drive, forced] { return system->flow.awaitRelease(drive, forced); },
                                   [this, toast](DriveReport report) {
                                       if (releaseWatches_.erase(report.drive.id) == 0) return;
                                       // Detached again, it is watched again.
                                       apply(report, toast);
                                   });
    });
}

void AppModel::record(const DriveReport& report) {
    history_.add(HistoryEvent::fromReport(report, historyStore_.newEventId()));
    if (live_) historyStore_.save(history_);
    emit historyChanged();
}

void AppModel::announce(const std::string& text) {
    if (announcer_) announcer_(QString::fromStdString(text));
}

void AppModel::toast(const std::string& text) {
    if (toaster_) toaster_(QString::fromStdString(text));
}

void AppModel::setEjectingAll(bool on) {
    if (ejectingAll_ == on) return;
    ejectingAll_ = on;
    emit ejectingAllChanged(on);
}

void AppModel::ejectAll(bool toast, std::function<void(std::vector<DriveReport>)> done) {
    if (!live_ || ejectingAll_) {
        if (done) later([done] { done({}); });
        return;
    }
    setEjectingAll(true);
    ejectNext(std::make_shared<EjectAllRun>(EjectAllRun{.drives = ejectOrder(drives_), .reports = {}, .toast = toast, .done = std::move(done)}));
}

void AppModel::ejectNext(std::shared_ptr<EjectAllRun> run) {
    if (run->reports.size() < run->drives.size()) {
        const Drive drive = run->drives[run->reports.size()];
        setBusy(drive.id, Busy::ejecting);
        offMainThread<DriveReport>([system = system_, drive] { return system->flow.eject(drive, false); },
                                   [this, run](DriveReport report) {
                                       apply(report, false);
                                       run->reports.push_back(std::move(report));
                                       ejectNext(run);
                                   });
        return;
    }
    allResults_ = run->reports;
    emit allResultsChanged();
    // The single drives were announced one by one; the summary is only toasted.
    if (run->toast) toast(ReportText::ejectAllSummary(run->reports));
    setEjectingAll(false);
    if (run->done) later([run] { run->done(run->reports); });
}

void AppModel::ejectDriveNamed(const std::string& name, std::function<void(std::optional<DriveReport>)> done) {
    const auto found = std::find_if(drives_.begin(), drives_.end(), [&](const Drive& drive) { return drive.matches(name); });
    if (!live_ || found == drives_.end()) {
        if (done) later([done] { done(std::nullopt); });
        return;
    }
    const Drive drive = *found;
    setBusy(drive.id, Busy::ejecting);
    offMainThread<DriveReport>([system = system_, drive] { return system->flow.eject(drive, false); },
                               [this, done](DriveReport report) {
                                   apply(report, true);
                                   if (done) done(report);
                               });
}

void AppModel::waitForBackup(const Drive& drive) {
    if (!live_) return;
    setBusy(drive.id, Busy::waitingForBackup);
    if (const auto running = backupWaits_.find(drive.id); running != backupWaits_.end()) running->second->cancelled = true;
    auto wait = std::make_shared<BackupWait>();
    backupWaits_[drive.id] = wait;
    pollBackup(drive, wait, 0);
}

void AppModel::pollBackup(const Drive& drive, std::shared_ptr<BackupWait> wait, int polls) {
    struct Poll {
        bool backingUp = false;
        // The drive may have been unplugged during the wait: it must not be ejected, nor
        // recorded as ejected, then.
        bool stillListed = false;
    };
    const VolumeFilter filter{.diskImages = showDiskImages_, .networkShares = showNetworkShares_};
    timer_->after(backupPollSeconds, this, [this, drive, wait, polls, filter] {
        if (wait->cancelled) return;
        offMainThread<Poll>(
            [system = system_, drive, filter] {
                Poll poll{.backingUp = system->flow.backupOn(drive).has_value()};
                const std::vector<Drive> listed = system->listDrives(filter);
                poll.stillListed = std::any_of(listed.begin(), listed.end(),
                                               [&](const Drive& candidate) { return candidate.id == drive.id; });
                return poll;
            },
            [this, drive, wait, polls](Poll poll) {
                if (poll.backingUp && poll.stillListed && polls + 1 < backupPollLimit) {
                    pollBackup(drive, wait, polls + 1);
                    return;
                }
                if (wait->cancelled) return;
                if (states_.contains(drive.id)) setBusy(drive.id, std::nullopt);
                if (poll.stillListed) eject(drive, false, true);
                else refresh();
            });
    });
}

void AppModel::stopWaiting(const Drive& drive) {
    if (const auto running = backupWaits_.find(drive.id); running != backupWaits_.end()) {
        running->second->cancelled = true;
        backupWaits_.erase(running);
    }
    if (states_.contains(drive.id)) setBusy(drive.id, std::nullopt);
}

void AppModel::stopBackup(const Drive& drive) {
    if (!live_) return;
    // The backup the card shows, whose tool is asked to stop.
    const DriveDisplay shownNow = display(drive.id);
    const auto* shown = shownNow.as<DriveDisplay::Backup>();
    const TimeMachineStatus backup = shown ? shown->status : TimeMachineStatus{};
    setBusy(drive.id, Busy::stoppingBackup);
    offMainThread<bool>([system = system_, backup] { return system->stopBackup(backup); },
                        [this, id = drive.id, backup](bool stopped) {
                            if (!states_.contains(id)) return;
                            DriveState noted = state(id);
                            noted.busy.reset();
                            noted.note = stopped ? BackupTexts::stopping(backup) : BackupTexts::notStopped(backup);
                            putState(id, std::move(noted));
                        });
}

void AppModel::showApp(const Holder& holder) {
    if (!live_ || !system_->flow.quitter) return;
    // Finding and raising a window may wait on the desktop.
    pool_.start([system = system_, holder] { system->flow.quitter->showApp(holder); });
}

void AppModel::clearHistory() {
    history_.clear();
    if (live_) historyStore_.save(history_);
    emit historyChanged();
}

bool AppModel::assignFlag(bool& field, const FlagSetting& setting, bool value) {
    if (live_) settings_->setFlag(setting, value);
    const bool changed = field != value;
    field = value;
    return changed;
}

void AppModel::setShowDiskImages(bool on) {
    if (assignFlag(showDiskImages_, showDiskImagesSetting, on)) emit showDiskImagesChanged(on);
    refresh();
}

void AppModel::setShowNetworkShares(bool on) {
    if (assignFlag(showNetworkShares_, showNetworkSharesSetting, on)) emit showNetworkSharesChanged(on);
    refresh();
}

void AppModel::setHotkeyEnabled(bool on) {
    if (assignFlag(hotkeyEnabled_, hotkeyEnabledSetting, on)) emit hotkeyEnabledChanged(on);
    // Also for an unchanged value: the handler registers the hotkey again.
    if (onHotkeyChange_) onHotkeyChange_();
}

void AppModel::setHotkeyRegistered(bool registered) {
    if (registered == hotkeyRegistered_) return;
    hotkeyRegistered_ = registered;
    emit hotkeyRegisteredChanged(registered);
}

void AppModel::setOnboarded(bool done) {
    if (assignFlag(onboarded_, onboardedSetting, done)) emit onboardedChanged(done);
}

void AppModel::setMainPage(const QString& page) {
    if (!mainPageSetting.choices.contains(page)) return;
    if (live_) settings_->setChoice(mainPageSetting, page);
    if (page == mainPage_) return;
    mainPage_ = page;
    emit mainPageChanged(page);
}

void AppModel::setSettingsTab(const QString& tab) {
    if (!settingsTabSetting.choices.contains(tab)) return;
    if (live_) settings_->setChoice(settingsTabSetting, tab);
    if (tab == settingsTab_) return;
    settingsTab_ = tab;
    emit settingsTabChanged(tab);
}

void AppModel::setLaunchAtLogin(bool on) {
    if (live_ && loginItem_) {
        if (const std::optional<std::string> failure = loginItem_->setEnabled(on)) {
            qWarning().noquote() << "Launch at login: " + QString::fromStdString(*failure);
        }
    }
    // The setting always shows the real state, whatever the request did.
    const bool enabled = loginItem_ && loginItem_->isEnabled();
    if (enabled == launchAtLogin_) return;
    launchAtLogin_ = enabled;
    emit launchAtLoginChanged(enabled);
}

}  // namespace kestrix
