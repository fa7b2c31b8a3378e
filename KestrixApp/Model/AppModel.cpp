#include "KestrixApp/Model/AppModel.h"

#include <algorithm>
#include <utility>

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QTimer>

#include "KestrixApp/Model/RecentReports.h"
#include "KestrixApp/Model/FileWatcher.h"
#include "KestrixKit/Backups/BackupTexts.h"
#include "KestrixKit/Ejection/FlushText.h"
#include "KestrixKit/Flow/ReportText.h"
#include "KestrixKit/History/HistoryEvent.h"
#include "KestrixKit/Holders/KernelHolderText.h"
#include "KestrixKit/Holders/KernelRemedy.h"
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
// A save that found the history file's lock taken is tried again after this long.
constexpr int historyRetryMilliseconds = 3000;
// Requests that come this soon after an eject ended, for a drive it ejected, are answered by it:
// they were made together with the one that started it.
constexpr auto sameRequestWindow = std::chrono::seconds(5);

}  // namespace

struct AppModel::BackupWait {
    bool cancelled = false;
};

struct AppModel::EjectAllRun {
    // The drives listed when Eject All started; each success lists them again meanwhile.
    std::vector<Drive> drives;
    std::vector<DriveReport> reports;
    bool toast = false;
    // The request that started it and those that joined it.
    std::vector<std::function<void(std::vector<DriveReport>)>> done;
};

struct AppModel::RunningEject {
    Drive drive;
    // Whether its result is toasted, and so what it still writes while it lasts.
    bool toast = false;
    // The requests waiting for its report: the one that started it and those that joined.
    std::vector<std::function<void(const DriveReport&)>> waiters;
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
    historyThread_.setMaxThreadCount(1);
    if (live_) {
        history_ = historyStore_.load();
        if (historyStore_.file) {
            // kestrixctl adds its events to the file: the History page shows them as they come.
            const QFileInfo file(QString::fromStdString(*historyStore_.file));
            QDir().mkpath(file.absolutePath());
            historyWatcher_ = new FileWatcher(file.absoluteFilePath(), this);
            connect(historyWatcher_, &FileWatcher::changed, this, &AppModel::reloadHistory);
        }
    }
    current_ = this;
}

AppModel::~AppModel() {
    if (current_ == this) current_ = nullptr;
    // Work still running hands its result to this object; let it finish first.
    pool_.clear();
    pool_.waitForDone();
    historyThread_.clear();
    historyThread_.waitForDone();
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

template <typename Result>
void AppModel::inHistoryThread(std::function<Result()> work, std::function<void(Result)> then) {
    historyThread_.start([this, work = std::move(work), then = std::move(then)] {
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
        worldWatcher_ = new FileWatcher(QString::fromStdString(*system_->worldFile), this);
        connect(worldWatcher_, &FileWatcher::changed, this, &AppModel::reloadWorld);
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
                                          // A listing begun after an eject knows whether the drive went.
                                          std::erase_if(ejected_, [&](const auto& entry) {
                                              return entry.second.first < listing;
                                          });
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
    for (const auto& watch : releaseWatches_) {
        const Drive& watched = watch.second;
        const bool listedAgain =
            std::any_of(listed.begin(), listed.end(), [&](const Drive& drive) { return drive.id == watch.first; });
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
    if (!live_ || justEjected(drive.id) || ejects_.contains(drive.id)) return;
    DriveState ejecting = state(drive.id);
    // An eject may start while a check runs.
    if (ejecting.busy && *ejecting.busy != Busy::checking) return;
    ejecting.note.reset();
    putState(drive.id, std::move(ejecting));
    ejectOnce(drive, Busy::ejecting, [drive, force](const EjectFlow& flow) { return flow.eject(drive, force); }, toast,
              {});
}

void AppModel::quitAndEject(const Drive& drive, const std::vector<Holder>& holders,
                            const std::set<std::int32_t>& endProcesses) {
    if (!live_ || justEjected(drive.id) || ejects_.contains(drive.id)) return;
    ejectOnce(
        drive, Busy::quitting,
        [drive, holders, endProcesses](const EjectFlow& flow) { return flow.quitAndEject(drive, holders, endProcesses); },
        false, {});
}

void AppModel::ejectOnce(const Drive& drive, Busy phase, std::function<DriveReport(const EjectFlow&)> work, bool toast,
                         std::function<void(const DriveReport&)> then) {
    if (const auto running = ejects_.find(drive.id); running != ejects_.end()) {
        if (then) running->second->waiters.push_back(std::move(then));
        return;
    }
    auto running = std::make_shared<RunningEject>(RunningEject{.drive = drive, .toast = toast, .waiters = {}});
    if (then) running->waiters.push_back(std::move(then));
    ejects_[drive.id] = running;
    setBusy(drive.id, phase);
    offMainThread<DriveReport>([work = std::move(work), flow = flowShowingFlush()] { return work(flow); },
                               [this, running, toast](DriveReport report) {
        ejects_.erase(running->drive.id);
        // Applied and recorded once, however many requests wait for it.
        apply(report, toast);
        for (const auto& waiter : running->waiters) waiter(report);
    });
}

EjectFlow AppModel::flowShowingFlush() {
    EjectFlow flow = system_->flow;
    flow.flushShown = [this](const Drive& drive, const FlushProgress& progress) {
        later([this, drive, progress] { showFlush(drive, progress); });
    };
    return flow;
}

void AppModel::showFlush(const Drive& drive, const FlushProgress& progress) {
    const auto running = ejects_.find(drive.id);
    // The eject's report came first: the flush is over.
    if (running == ejects_.end()) return;
    DriveState flushing = state(drive.id);
    const bool starts = !flushing.flush;
    if (progress.bytesLeft > 0) flushing.flush = progress;
    else flushing.flush.reset();
    putState(drive.id, std::move(flushing));
    if (progress.bytesLeft == 0) return;
    const std::string message = flushMessage(drive.name(), progress);
    // Spoken once; the card and the toast follow the amount.
    if (starts) announce(message);
    if (running->second->toast || (ejectAllRun_ && ejectAllRun_->toast)) toast(message);
}

std::optional<DriveReport> AppModel::justEjected(const std::string& driveId) const {
    const auto found = ejected_.find(driveId);
    if (found == ejected_.end()) return std::nullopt;
    return found->second.second;
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
    if (success) {
        ejected_[report.drive.id] = {listingsStarted_, report};
        refresh();
    }
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
    const HistoryEvent event = HistoryEvent::fromReport(report, historyStore_.newEventId());
    history_.add(event);
    emit historyChanged();
    if (!live_) return;
    unsaved_.insert(unsaved_.begin(), event);
    saveHistory();
}

void AppModel::saveHistory() {
    if (saving_) {
        saveAgain_ = true;
        return;
    }
    if (unsaved_.empty()) return;
    saving_ = true;
    inHistoryThread<std::optional<History>>(
        [store = historyStore_, events = unsaved_] { return store.add(events); },
        [this, events = unsaved_](std::optional<History> saved) {
            saving_ = false;
            if (saved) {
                std::erase_if(unsaved_, [&](const HistoryEvent& event) {
                    return std::any_of(events.begin(), events.end(), [&](const HistoryEvent& sent) { return sent.id == event.id; });
                });
                if (clearsRunning_ == 0) takeHistory(std::move(*saved));
            } else {
                // The lock stayed taken: the events wait in memory, shown, and are saved later.
                QTimer::singleShot(historyRetryMilliseconds, this, &AppModel::saveHistory);
            }
            if (saveAgain_) {
                saveAgain_ = false;
                saveHistory();
            }
        });
}

void AppModel::reloadHistory() {
    // Changes made while the file is read are read once more, after it.
    if (reloading_) {
        reloadAgain_ = true;
        return;
    }
    reloading_ = true;
    inHistoryThread<History>([store = historyStore_] { return store.load(); },
                             [this](History loaded) {
                                 reloading_ = false;
                                 if (clearsRunning_ == 0) takeHistory(std::move(loaded));
                                 if (reloadAgain_) {
                                     reloadAgain_ = false;
                                     reloadHistory();
                                 }
                             });
}

void AppModel::takeHistory(History fromFile) {
    for (auto event = unsaved_.rbegin(); event != unsaved_.rend(); ++event) {
        const bool inFile = std::any_of(fromFile.events.begin(), fromFile.events.end(),
                                        [&](const HistoryEvent& kept) { return kept.id == event->id; });
        if (!inFile) fromFile.add(*event);
    }
    if (fromFile == history_) return;
    history_ = std::move(fromFile);
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
    if (!live_) {
        if (done) later([done] { done({}); });
        return;
    }
    if (ejectAllRun_) {
        // One Eject All at a time: a second request waits for the running one's reports.
        ejectAllRun_->toast = ejectAllRun_->toast || toast;
        if (done) ejectAllRun_->done.push_back(std::move(done));
        return;
    }
    // One that comes when the last run has just ejected every drive is answered by that run.
    const bool nothingLeft = ejects_.empty() && std::all_of(drives_.begin(), drives_.end(), [&](const Drive& drive) {
        return justEjected(drive.id).has_value();
    });
    if (nothingLeft && lastEjectAll_ && std::chrono::steady_clock::now() - lastEjectAll_->first < sameRequestWindow) {
        if (done) later([done = std::move(done), reports = lastEjectAll_->second] { done(reports); });
        return;
    }
    // Every listed drive, and those whose eject runs though they are listed no more. A drive
    // ejected a moment ago, still listed, answers with that eject (ejectNext).
    std::vector<Drive> drives = drives_;
    for (const auto& eject : ejects_) {
        if (std::none_of(drives.begin(), drives.end(), [&](const Drive& drive) { return drive.id == eject.first; })) {
            drives.push_back(eject.second->drive);
        }
    }
    ejectAllRun_ = std::make_shared<EjectAllRun>(EjectAllRun{.drives = ejectOrder(std::move(drives)), .reports = {}, .toast = toast, .done = {}});
    if (done) ejectAllRun_->done.push_back(std::move(done));
    setEjectingAll(true);
    ejectNext(ejectAllRun_);
}

void AppModel::ejectNext(std::shared_ptr<EjectAllRun> run) {
    while (run->reports.size() < run->drives.size()) {
        const Drive drive = run->drives[run->reports.size()];
        // Ejected by another request while this one ran: that eject is this drive's report.
        if (std::optional<DriveReport> report = justEjected(drive.id)) {
            run->reports.push_back(std::move(*report));
            continue;
        }
        ejectOnce(drive, Busy::ejecting, [drive](const EjectFlow& flow) { return flow.eject(drive, false); }, false,
                  [this, run](const DriveReport& report) {
                      run->reports.push_back(report);
                      ejectNext(run);
                  });
        return;
    }
    ejectAllRun_.reset();
    lastEjectAll_ = {std::chrono::steady_clock::now(), run->reports};
    allResults_ = run->reports;
    emit allResultsChanged();
    // The single drives were announced one by one; the summary is only toasted.
    if (run->toast) toast(ReportText::ejectAllSummary(run->reports));
    setEjectingAll(false);
    for (auto& done : run->done) later([done = std::move(done), reports = run->reports] { done(reports); });
}

void AppModel::ejectDriveNamed(const std::string& name, std::function<void(std::optional<DriveReport>)> done) {
    const auto matches = [&](const Drive& drive) { return drive.matches(name); };
    std::optional<Drive> drive;
    if (const auto listed = std::find_if(drives_.begin(), drives_.end(), matches); listed != drives_.end()) {
        drive = *listed;
    } else {
        // A drive whose eject runs answers though it is listed no more.
        for (const auto& [id, running] : ejects_) {
            if (!drive && matches(running->drive)) drive = running->drive;
        }
    }
    if (live_ && !drive) {
        // Ejected a moment ago and listed no more: that eject answers.
        const auto now = std::chrono::system_clock::now();
        for (const DriveReport& report : recent_) {
            if (report.drive.matches(name) && now - report.date < sameRequestWindow) {
                if (done) later([done, report] { done(report); });
                return;
            }
        }
    }
    if (!live_ || !drive) {
        if (done) later([done] { done(std::nullopt); });
        return;
    }
    // Ejected a moment ago: that eject's report, not a second eject.
    if (std::optional<DriveReport> report = justEjected(drive->id)) {
        if (done) later([done, report] { done(report); });
        return;
    }
    ejectOnce(*drive, Busy::ejecting, [drive = *drive](const EjectFlow& flow) { return flow.eject(drive, false); }, true,
              [done](const DriveReport& report) {
                  if (done) done(report);
              });
}

void AppModel::waitForBackup(const Drive& drive) {
    if (!live_) return;
    // The backup the card shows, before the wait hides it: its processes are waited for.
    const DriveDisplay shown = display(drive.id);
    const auto* backup = shown.as<DriveDisplay::Backup>();
    setBusy(drive.id, Busy::waitingForBackup);
    if (const auto running = backupWaits_.find(drive.id); running != backupWaits_.end()) running->second->cancelled = true;
    auto wait = std::make_shared<BackupWait>();
    backupWaits_[drive.id] = wait;
    pollBackup(drive, wait, 0, backup ? backup->status.processes : std::vector<std::int32_t>{});
}

void AppModel::pollBackup(const Drive& drive, std::shared_ptr<BackupWait> wait, int polls,
                          std::vector<std::int32_t> processes) {
    struct Poll {
        bool backingUp = false;
        std::vector<std::int32_t> processes;
        // The drive may have been unplugged during the wait: it must not be ejected, nor
        // recorded as ejected, then.
        bool stillListed = false;
    };
    const VolumeFilter filter{.diskImages = showDiskImages_, .networkShares = showNetworkShares_};
    const auto look = [this, drive, wait, polls, filter] {
        if (wait->cancelled) return;
        offMainThread<Poll>(
            [system = system_, drive, filter] {
                const std::optional<TimeMachineStatus> backup = system->flow.backupOn(drive);
                Poll poll{.backingUp = backup.has_value(), .processes = backup ? backup->processes : std::vector<std::int32_t>{}};
                const std::vector<Drive> listed = system->listDrives(filter);
                poll.stillListed = std::any_of(listed.begin(), listed.end(),
                                               [&](const Drive& candidate) { return candidate.id == drive.id; });
                return poll;
            },
            [this, drive, wait, polls](Poll poll) {
                if (poll.backingUp && poll.stillListed && polls + 1 < backupPollLimit) {
                    pollBackup(drive, wait, polls + 1, std::move(poll.processes));
                    return;
                }
                if (wait->cancelled) return;
                if (states_.contains(drive.id)) setBusy(drive.id, std::nullopt);
                if (poll.stillListed) eject(drive, false, true);
                else refresh();
            });
    };
    if (!system_->flow.awaitExit || processes.empty()) {
        timer_->after(backupPollSeconds, this, look);
        return;
    }
    // The ten seconds stay the bound: a backup may start new processes as old ones end.
    offMainThread<bool>(
        [system = system_, processes] {
            std::vector<ProcessIdentity> running;
            for (const std::int32_t pid : processes) running.push_back({.pid = pid, .startTime = std::nullopt});
            system->flow.awaitExit(running, backupPollSeconds);
            return true;
        },
        [look](bool) { look(); });
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

void AppModel::releaseKernelHolder(const Drive& drive, const KernelHolder& holder) {
    if (!live_ || state(drive.id).busy || ejects_.contains(drive.id)) return;
    const std::optional<KernelRemedy> remedy = kernelRemedy(holder);
    if (!remedy) return;
    DriveState releasing = state(drive.id);
    releasing.busy = Busy::releasing;
    releasing.note.reset();
    putState(drive.id, std::move(releasing));
    if (*remedy == KernelRemedy::ejectImage) {
        ejectImageOf(drive, holder);
        return;
    }
    offMainThread<ReleaseOutcome>([system = system_, holder] { return system->flow.ejector->release(holder); },
                                  [this, drive, holder, remedy](const ReleaseOutcome& outcome) {
                                      endRelease(drive.id, outcome.released ? std::nullopt
                                                                            : std::optional(KernelHolderText::remedyRefused(
                                                                                  holder, *remedy, outcome.message)));
                                  });
}

void AppModel::ejectImageOf(const Drive& drive, const KernelHolder& image) {
    // The image is listed as a drive of its own only where disk images are shown.
    offMainThread<std::optional<Drive>>(
        [system = system_, mountPath = *image.mountPath]() -> std::optional<Drive> {
            for (Drive& listed : system->listDrives({.diskImages = true, .networkShares = false})) {
                const std::vector<std::string> paths = listed.mountPaths();
                if (std::find(paths.begin(), paths.end(), mountPath) != paths.end()) return std::move(listed);
            }
            return std::nullopt;
        },
        [this, drive, image](const std::optional<Drive>& inner) {
            // Unmounted meanwhile: the check tells what is left.
            if (!inner) {
                endRelease(drive.id, std::nullopt);
                return;
            }
            const auto ejectImage = [imageDrive = *inner](const EjectFlow& flow) { return flow.eject(imageDrive, false); };
            ejectOnce(*inner, Busy::ejecting, ejectImage, false, [this, id = drive.id](const DriveReport& report) {
                endRelease(id, report.verdict.isDone() ? std::nullopt : std::optional(ReportText::message(report)));
            });
        });
}

void AppModel::endRelease(const std::string& driveId, std::optional<std::string> note) {
    if (!states_.contains(driveId)) return;
    setBusy(driveId, std::nullopt);
    const auto listed = std::find_if(drives_.begin(), drives_.end(), [&](const Drive& each) { return each.id == driveId; });
    const auto watched = releaseWatches_.find(driveId);
    // A drive left detached is watched until it is released; the watch looks again by itself.
    if (listed != drives_.end() && watched == releaseWatches_.end()) check(*listed);
    if (!note) return;
    DriveState noted = state(driveId);
    noted.note = std::move(note);
    putState(driveId, std::move(noted));
}

void AppModel::clearHistory() {
    history_.clear();
    unsaved_.clear();
    emit historyChanged();
    if (!live_) return;
    // After the saves asked for before it, on the same thread.
    ++clearsRunning_;
    inHistoryThread<bool>([store = historyStore_] { return store.clear(); },
                          [this](bool cleared) {
                              --clearsRunning_;
                              if (cleared && clearsRunning_ == 0) takeHistory(History{});
                          });
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
