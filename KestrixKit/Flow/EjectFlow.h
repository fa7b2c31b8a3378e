#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "KestrixKit/Ejection/DiskEjecting.h"
#include "KestrixKit/Ejection/FileSystemFlushing.h"
#include "KestrixKit/Ejection/FlushProgress.h"
#include "KestrixKit/Flow/DriveReport.h"
#include "KestrixKit/Flow/DriveVerdict.h"
#include "KestrixKit/Flow/HolderQuitting.h"
#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Holders/HolderScanner.h"
#include "KestrixKit/Holders/ScanResult.h"
#include "KestrixKit/TimeMachine/TimeMachineStatus.h"
#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

// Decides, for one drive, whether to eject it, what to tell the user when it cannot, and how
// to get it free. Holds no state between calls; every collaborator is injected so that the
// decisions run the same on a simulated system.
struct EjectFlow {
    HolderScanner scanner;
    std::shared_ptr<DiskEjecting> ejector;
    std::shared_ptr<HolderQuitting> quitter;
    // The signed-in user, for the holder policy.
    std::uint32_t currentUID = 0;
    // Every wait goes through here, in seconds.
    std::function<void(double seconds)> sleep;
    // The current backup status; empty means backups are never considered.
    std::function<std::optional<TimeMachineStatus>()> timeMachine;
    // Whether the drive's devices are still those it was listed with; empty when the system
    // cannot tell. A drive that is gone or was replaced under its name is never touched.
    std::function<bool(const Drive& drive)> isSameDrive;
    // Every running backup, where several tools may run side by side (Linux); read in place of
    // timeMachine when set. Their processes holding the drive are the backup, not holders.
    std::function<std::vector<TimeMachineStatus>()> backups;
    // The time stamp of a report.
    std::function<std::chrono::system_clock::time_point()> now;
    // Seconds to wait for asked holders to exit.
    double quitWait = 10.0;
    // Seconds before the one retry after the system kept the drive for itself.
    double serviceRetryDelay = 1.5;
    // Writes out what the page cache holds for the drive before each eject request; empty where
    // nothing is cached (a simulated system).
    std::shared_ptr<FileSystemFlushing> flusher;
    // Hears what is left to write while a flush lasts; set by whoever shows it.
    std::function<void(const Drive& drive, const FlushProgress& progress)> flushShown;
    // Returns once none of the processes runs any more, or after the limit in seconds, whichever
    // comes first. Empty where the system tells no exits (a simulated world): the flow then asks
    // the quitter between sleeps.
    std::function<void(const std::vector<ProcessIdentity>& processes, double limitSeconds)> awaitExit;

    // What holds the drive: the quick scan, and the deep one when the quick one finds nothing.
    ScanResult check(const Drive& drive) const;
    DriveReport eject(const Drive& drive, bool force) const;
    // One more look at a drive left detached: ejects it once its file systems are released,
    // else says again what keeps them alive.
    DriveReport awaitRelease(const Drive& drive, bool forced) const;
    // Asks the holders to quit (and ends the command-line programs whose pid is in
    // endProcesses), waits for them, and ejects when they are all gone.
    DriveReport quitAndEject(const Drive& drive, const std::vector<Holder>& holders,
                             const std::set<std::int32_t>& endProcesses) const;
    // One plain eject after another, a drive mounted inside another before that one (see
    // ejectOrder), reports in that order.
    std::vector<DriveReport> ejectAll(const std::vector<Drive>& drives) const;
    // The running backup that writes to the drive.
    std::optional<TimeMachineStatus> backupOn(const Drive& drive) const;
    // One eject request and the reading of its refusal.
    DriveVerdict attempt(const Drive& drive, bool force) const;

private:
    std::vector<Holder> askToQuit(const std::vector<Holder>& holders, const std::set<std::int32_t>& endProcesses) const;
    void waitForExit(const std::vector<Holder>& asked) const;
    // The backup, when it is what the scan found: every holder is one of its processes.
    std::optional<TimeMachineStatus> backupHolding(const Drive& drive, const std::vector<Holder>& holders) const;
    std::optional<Holder> dissenter(const std::optional<std::int32_t>& pid) const;
    DriveReport report(const Drive& drive, DriveVerdict verdict, bool forced) const;
};

}  // namespace kestrix
