#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <QObject>
#include <QString>
#include <QThreadPool>

#include "KestrixApp/Model/AppSettings.h"
#include "KestrixApp/Model/AppSystem.h"
#include "KestrixApp/Model/DriveDisplay.h"
#include "KestrixApp/Model/DriveState.h"
#include "KestrixApp/Model/LoginItem.h"
#include "KestrixApp/Model/WaitTimer.h"
#include "KestrixKit/Flow/DriveReport.h"
#include "KestrixKit/History/History.h"
#include "KestrixKit/History/HistoryEvent.h"
#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Holders/KernelHolder.h"
#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

class FileWatcher;

// What a model is built from. Absent settings are the user's own, an absent timer waits on
// the clock, an absent login item means the app never starts at login.
struct AppModelParts {
    AppSystem system;
    HistoryStore history;
    std::shared_ptr<AppSettings> settings;
    std::shared_ptr<LoginItem> loginItem;
    std::shared_ptr<WaitTimer> timer;
};

// The app's one long-lived object: the drives on screen and their states, the recent results,
// the history and the settings. Views and automation read it and call its operations; nothing
// else reaches the system. It lives on the main thread: the system's calls run on worker
// threads and every result is applied back here, so nothing needs a lock.
//
// A model that is not live (a preview) reads the settings but never writes them, never loads or
// saves the history, and never calls the system: its operations do nothing.
class AppModel : public QObject {
    Q_OBJECT
public:
    AppModel(bool live, AppModelParts parts, QObject* parent = nullptr);
    ~AppModel() override;

    // The most recently created model, while it exists.
    static AppModel* current();

    bool live() const { return live_; }
    // The signed-in user, for the holder policy.
    std::uint32_t currentUID() const;
    // In the order of the volume listing.
    const std::vector<Drive>& drives() const { return drives_; }
    // Whether the volumes were listed at least once: before that, no drives means nothing known yet.
    bool hasListed() const { return hasListed_; }
    // Only for listed drives, after each refresh.
    const std::map<std::string, DriveState>& states() const { return states_; }
    // The drive's state; every field absent when it has none.
    DriveState state(const std::string& driveId) const;
    // Successful ejects since launch, newest first, at most six.
    const std::vector<DriveReport>& recent() const { return recent_; }
    // The history file as it is, with what kestrixctl added to it, and the events still being
    // saved on top.
    const History& history() const { return history_; }
    // The reports of the last Eject All, in drive order.
    const std::vector<DriveReport>& allResults() const { return allResults_; }
    bool ejectingAll() const { return ejectingAll_; }
    DriveDisplay display(const std::string& driveId) const;
    // Listed drives that need the user: neither busy nor ready.
    int attentionCount() const;

    // Settings. Every assignment, even of the same value, is written (live models only) and
    // acted on: listing settings refresh the drives, the hotkey setting calls its handler.
    bool showDiskImages() const { return showDiskImages_; }
    void setShowDiskImages(bool on);
    bool showNetworkShares() const { return showNetworkShares_; }
    void setShowNetworkShares(bool on);
    bool hotkeyEnabled() const { return hotkeyEnabled_; }
    void setHotkeyEnabled(bool on);
    // Whether the desktop gave the app its hotkey; the shell says so after each change of the
    // setting. Where it did not (no key grab, no portal), no view offers the key.
    bool hotkeyRegistered() const { return hotkeyRegistered_; }
    void setHotkeyRegistered(bool registered);
    bool onboarded() const { return onboarded_; }
    void setOnboarded(bool done);
    // The main window's page ("drives", "history") and the settings tab ("general",
    // "automation", "privacy", "more"); other values are ignored.
    QString mainPage() const { return mainPage_; }
    void setMainPage(const QString& page);
    QString settingsTab() const { return settingsTab_; }
    void setSettingsTab(const QString& tab);
    // Whether the app is registered to start at login, as the login item says.
    bool launchAtLogin() const { return launchAtLogin_; }
    // Asks the login item; a failure is logged, and the value always ends as the real state.
    void setLaunchAtLogin(bool on);

    // Called after every assignment of hotkeyEnabled, on the main thread.
    void setOnHotkeyChange(std::function<void()> handler) { onHotkeyChange_ = std::move(handler); }
    // Speaks a result to assistive technologies.
    void setAnnouncer(std::function<void(const QString&)> announcer) { announcer_ = std::move(announcer); }
    // Shows a result that was asked for from outside the windows.
    void setToastPresenter(std::function<void(const QString&)> presenter) { toaster_ = std::move(presenter); }

    // Watches the world file of a simulated system and lists the drives for the first time.
    void start();
    // Runs the call once the first listing is on screen (at once after that), calls held
    // meanwhile in the order they came: links and scripted actions at start-up name drives
    // that are not listed yet.
    void whenListed(std::function<void()> call);
    // Lists the drives again and checks each newly listed one. Mount monitors call this.
    void refresh();
    // What holds the drive; nothing while another operation runs on it, except a check.
    void check(const Drive& drive);
    // One eject per drive at a time: a drive is ejected by one request, and every request made
    // for it meanwhile gets that eject's report; one history event records it. A drive ejected a
    // moment ago, still listed until the drives are listed again, is not ejected twice.
    //
    // Nothing while another operation than a check runs on the drive.
    void eject(const Drive& drive, bool force, bool toast);
    // Asks the holders to quit, ends the listed command-line programs, then ejects. Nothing
    // while an eject of the drive runs.
    void quitAndEject(const Drive& drive, const std::vector<Holder>& holders,
                      const std::set<std::int32_t>& endProcesses);
    // Ejects every listed drive, one after another, a drive mounted inside another before that
    // one; a drive being ejected already is waited for, and one ejected a moment ago gives that
    // eject's report. A second request while one runs joins it and gets its reports. `done`
    // always runs later on the main thread, never during the call.
    void ejectAll(bool toast, std::function<void(std::vector<DriveReport>)> done = {});
    // Ejects the first listed drive the name designates and toasts the result; a drive being
    // ejected already, or ejected a moment ago, answers with that eject's report. `done` gets no
    // report when no drive matches. `done` always runs later on the main thread.
    void ejectDriveNamed(const std::string& name, std::function<void(std::optional<DriveReport>)> done = {});
    // Looks at the backup every ten seconds, or when its processes end, at most two hours, then
    // ejects.
    void waitForBackup(const Drive& drive);
    void stopWaiting(const Drive& drive);
    // Stops the running backup and leaves a note under the drive saying how that went.
    void stopBackup(const Drive& drive);
    // Brings the holder's app to the front.
    void showApp(const Holder& holder);
    // Lets go of something the kernel holds the drive with (see kernelRemedy): ejects a mounted
    // disk image through the usual eject, detaches one that is not mounted, stops swap on a
    // partition; then checks the drive again. A refusal leaves a note under the drive. Nothing
    // while another operation runs on the drive.
    void releaseKernelHolder(const Drive& drive, const KernelHolder& holder);
    void clearHistory();

signals:
    void drivesChanged();
    void driveStateChanged(const QString& driveId);
    void recentChanged();
    void historyChanged();
    void allResultsChanged();
    void ejectingAllChanged(bool ejectingAll);
    void attentionCountChanged(int count);
    void showDiskImagesChanged(bool on);
    void showNetworkSharesChanged(bool on);
    void hotkeyEnabledChanged(bool on);
    void hotkeyRegisteredChanged(bool registered);
    void onboardedChanged(bool done);
    void mainPageChanged(const QString& page);
    void settingsTabChanged(const QString& tab);
    void launchAtLoginChanged(bool on);

private:
    struct BackupWait;
    struct EjectAllRun;
    struct RunningEject;

    // Runs the work on a worker thread and hands its result to `then` on the main thread.
    template <typename Result>
    void offMainThread(std::function<Result()> work, std::function<void(Result)> then);
    // The same on the one thread that reads and writes the history, in the order asked.
    template <typename Result>
    void inHistoryThread(std::function<Result()> work, std::function<void(Result)> then);
    // Runs the call on the main thread once the current event is done.
    void later(std::function<void()> call);

    void takeDrives(std::vector<Drive> listed);
    void putState(const std::string& driveId, DriveState state);
    void setBusy(const std::string& driveId, std::optional<Busy> busy);
    void apply(const DriveReport& report, bool toast);
    void record(const DriveReport& report);
    // Adds the events not saved yet to the history file; tried again later when the file's lock
    // stays taken.
    void saveHistory();
    // Reads the history file again, as kestrixctl may have added to it.
    void reloadHistory();
    // The history file as read or saved, with the events not saved yet on top.
    void takeHistory(History fromFile);
    void announce(const std::string& text);
    void toast(const std::string& text);
    void ejectNext(std::shared_ptr<EjectAllRun> run);
    // Runs the drive's one eject, or joins the one that runs; `then` gets its report after it
    // was applied.
    void ejectOnce(const Drive& drive, Busy phase, std::function<DriveReport(const EjectFlow&)> work, bool toast,
                   std::function<void(const DriveReport&)> then);
    // The system's eject flow, telling this model what the kernel still writes to a drive.
    EjectFlow flowShowingFlush();
    // Shows on the drive's card what is left to write, and in the toast where the eject's
    // result goes there too.
    void showFlush(const Drive& drive, const FlushProgress& progress);
    // The report of the drive's eject that succeeded since the drives were last listed.
    std::optional<DriveReport> justEjected(const std::string& driveId) const;
    // Looks again after ten seconds, or as soon as the backup's processes have all ended where
    // the system tells when processes exit.
    void pollBackup(const Drive& drive, std::shared_ptr<BackupWait> wait, int polls,
                    std::vector<std::int32_t> processes);
    void watchRelease(const DriveReport& detached, bool toast);
    // Ejects the disk image drive mounted where the holder says, then checks the drive.
    void ejectImageOf(const Drive& drive, const KernelHolder& image);
    // Ends a release: the note when it was refused, and the drive checked again.
    void endRelease(const std::string& driveId, std::optional<std::string> note);
    void reloadWorld();
    void setEjectingAll(bool on);
    void updateAttentionCount();
    bool assignFlag(bool& field, const FlagSetting& setting, bool value);

    static AppModel* current_;

    const bool live_;
    const std::shared_ptr<const AppSystem> system_;
    const HistoryStore historyStore_;
    const std::shared_ptr<AppSettings> settings_;
    const std::shared_ptr<LoginItem> loginItem_;
    const std::shared_ptr<WaitTimer> timer_;

    std::vector<Drive> drives_;
    std::map<std::string, DriveState> states_;
    std::vector<DriveReport> recent_;
    History history_;
    std::vector<DriveReport> allResults_;
    bool ejectingAll_ = false;
    bool hasListed_ = false;
    bool showDiskImages_ = false;
    bool showNetworkShares_ = false;
    bool hotkeyEnabled_ = true;
    bool hotkeyRegistered_ = false;
    bool onboarded_ = false;
    QString mainPage_;
    QString settingsTab_;
    bool launchAtLogin_ = false;
    int attentionCount_ = 0;
    std::uint64_t listingsStarted_ = 0;
    std::uint64_t newestListingShown_ = 0;
    bool listed_ = false;
    std::vector<std::function<void()>> heldUntilListed_;

    std::function<void()> onHotkeyChange_;
    std::function<void(const QString&)> announcer_;
    std::function<void(const QString&)> toaster_;
    std::map<std::string, std::shared_ptr<BackupWait>> backupWaits_;
    // Drives left detached, watched until their file systems are released; they stay on screen
    // although they are no longer mounted.
    std::map<std::string, Drive> releaseWatches_;
    std::map<std::string, std::shared_ptr<RunningEject>> ejects_;
    std::shared_ptr<EjectAllRun> ejectAllRun_;
    // Successful ejects with the listing they came before: the drive stays listed until a listing
    // started after it is shown.
    std::map<std::string, std::pair<std::uint64_t, DriveReport>> ejected_;
    // The last Eject All's reports and when it ended.
    std::optional<std::pair<std::chrono::steady_clock::time_point, std::vector<DriveReport>>> lastEjectAll_;
    FileWatcher* worldWatcher_ = nullptr;
    FileWatcher* historyWatcher_ = nullptr;
    // Recorded, not in the history file yet: newest first.
    std::vector<HistoryEvent> unsaved_;
    bool saving_ = false;
    bool saveAgain_ = false;
    bool reloading_ = false;
    bool reloadAgain_ = false;
    // Clears asked for and not done: what the file held before them is not shown again.
    int clearsRunning_ = 0;
    QThreadPool historyThread_;
    // Last member: destroyed first, after waiting for the work still running.
    QThreadPool pool_;
};

}  // namespace kestrix
