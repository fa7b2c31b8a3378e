#include "KestrixKit/Flow/EjectFlow.h"

#include <algorithm>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Holders/DriveCheck.h"
#include "KestrixKit/Holders/HolderPolicy.h"
#include "KestrixKit/Volumes/EjectOrder.h"

namespace kestrix {
namespace {

constexpr double quitPollInterval = 0.25;

ScanSummary summaryOf(const ScanResult& result) {
    return ScanSummary{.checked = result.checked, .hidden = result.hidden, .deep = result.deep};
}

bool offers(const std::vector<HolderAction>& actions, HolderAction action) {
    return std::find(actions.begin(), actions.end(), action) != actions.end();
}

}  // namespace

ScanResult EjectFlow::check(const Drive& drive) const { return checkDrive(scanner, drive); }

std::optional<TimeMachineStatus> EjectFlow::backupOn(const Drive& drive) const {
    const std::vector<std::string> mountPaths = drive.mountPaths();
    const auto writesHere = [&](const TimeMachineStatus& status) {
        return status.running && std::any_of(status.destinationMountPoints.begin(), status.destinationMountPoints.end(),
                                             [&](const std::string& destination) {
                                                 return HolderScanner::isUnder(destination, mountPaths);
                                             });
    };
    if (backups) {
        for (TimeMachineStatus& status : backups()) {
            if (writesHere(status)) return std::move(status);
        }
        return std::nullopt;
    }
    if (!timeMachine) return std::nullopt;
    std::optional<TimeMachineStatus> status = timeMachine();
    if (!status || !writesHere(*status)) return std::nullopt;
    return status;
}

std::optional<TimeMachineStatus> EjectFlow::backupHolding(const Drive& drive, const std::vector<Holder>& holders) const {
    // Only tools that run as processes of their own can be among the holders.
    if (!backups) return std::nullopt;
    std::optional<TimeMachineStatus> backup = backupOn(drive);
    if (!backup) return std::nullopt;
    const bool allPartOfIt = std::all_of(holders.begin(), holders.end(), [&](const Holder& holder) {
        return std::find(backup->processes.begin(), backup->processes.end(), holder.pid) != backup->processes.end();
    });
    if (!allPartOfIt) return std::nullopt;
    return backup;
}

DriveReport EjectFlow::eject(const Drive& drive, bool force) const {
    if (force) return report(drive, attempt(drive, true), true);

    const ScanResult quick = scanner.scan(drive, false);
    if (!quick.holders.empty()) {
        if (std::optional<TimeMachineStatus> backup = backupHolding(drive, quick.holders)) {
            return report(drive, DriveVerdict{DriveVerdict::BackupRunning{std::move(*backup)}}, false);
        }
        return report(drive, DriveVerdict{DriveVerdict::InUse{quick.holders, summaryOf(quick), quick.kernelHolders}},
                      false);
    }
    if (std::optional<TimeMachineStatus> backup = backupOn(drive)) {
        return report(drive, DriveVerdict{DriveVerdict::BackupRunning{std::move(*backup)}}, false);
    }
    DriveVerdict verdict = attempt(drive, false);
    if (verdict.is<DriveVerdict::HeldByMacOS>()) {
        // The system's own services often let go within a moment; one retry, whatever it yields.
        sleep(serviceRetryDelay);
        verdict = attempt(drive, false);
    }
    return report(drive, std::move(verdict), false);
}

DriveReport EjectFlow::awaitRelease(const Drive& drive, bool forced) const {
    // A device gone, or given to another drive (a loop device detaches itself once its last user
    // lets go), keeps nothing of this drive alive.
    if (isSameDrive && !isSameDrive(drive)) return report(drive, DriveVerdict{DriveVerdict::Ejected{}}, forced);
    return report(drive, attempt(drive, false), forced);
}

DriveVerdict EjectFlow::attempt(const Drive& drive, bool force) const {
    // Checked last thing before the unmount: the list an eject works from may be minutes old.
    if (isSameDrive && !isSameDrive(drive)) return DriveVerdict{DriveVerdict::Failed{DAStatus::notFound, std::nullopt}};
    if (flusher) {
        flusher->flush(drive, [&](const FlushProgress& progress) {
            if (flushShown) flushShown(drive, progress);
        });
    }
    const EjectOutcome outcome = ejector->eject(drive, force);
    if (outcome.is<EjectOutcome::Detached>()) {
        ScanResult keeping = scanner.scanFileSystems(drive);
        return DriveVerdict{DriveVerdict::Detached{std::move(keeping.holders), std::move(keeping.kernelHolders)}};
    }
    if (outcome.is<EjectOutcome::Ejected>()) return DriveVerdict{DriveVerdict::Ejected{}};
    if (outcome.is<EjectOutcome::UnmountedOnly>()) return DriveVerdict{DriveVerdict::UnmountedOnly{}};
    if (const auto* failed = outcome.as<EjectOutcome::Failed>()) {
        return DriveVerdict{DriveVerdict::Failed{failed->status, failed->message}};
    }
    const auto& busy = *outcome.as<EjectOutcome::Busy>();
    const ScanResult deep = scanner.scan(drive, true);
    if (!deep.holders.empty()) {
        if (std::optional<TimeMachineStatus> backup = backupHolding(drive, deep.holders)) {
            return DriveVerdict{DriveVerdict::BackupRunning{std::move(*backup)}};
        }
        return DriveVerdict{DriveVerdict::InUse{deep.holders, summaryOf(deep), deep.kernelHolders}};
    }
    if (std::optional<TimeMachineStatus> backup = backupOn(drive)) {
        return DriveVerdict{DriveVerdict::BackupRunning{std::move(*backup)}};
    }
    // The kernel's own holders are named, and no retry waits for what will not go by itself.
    if (!deep.kernelHolders.empty()) return DriveVerdict{DriveVerdict::InUse{{}, summaryOf(deep), deep.kernelHolders}};
    return DriveVerdict{DriveVerdict::HeldByMacOS{dissenter(busy.pid), summaryOf(deep)}};
}

std::optional<Holder> EjectFlow::dissenter(const std::optional<std::int32_t>& pid) const {
    if (!pid) return std::nullopt;
    std::optional<Holder> holder = scanner.holderForDissenter(*pid);
    // The program itself is never the one to blame.
    if (holder && holder->pid == scanner.ownPID) return std::nullopt;
    return holder;
}

DriveReport EjectFlow::quitAndEject(const Drive& drive, const std::vector<Holder>& holders,
                                    const std::set<std::int32_t>& endProcesses) const {
    const std::vector<Holder> asked = askToQuit(holders, endProcesses);
    waitForExit(asked);

    std::vector<Holder> remaining;
    std::copy_if(asked.begin(), asked.end(), std::back_inserter(remaining),
                 [&](const Holder& holder) { return quitter->isAlive(holder.identity()); });
    if (remaining.empty()) return eject(drive, false);

    // An app that is still open may be showing a save dialog; bring it where the user sees it,
    // once, where the desktop can.
    for (const Holder& holder : remaining) {
        if (holder.app && holder.app->isRegular && holder.app->canBeAskedToQuit() && holder.app->canBeShown()) {
            quitter->showApp(holder);
        }
    }
    return report(drive, DriveVerdict{DriveVerdict::WaitingOnApps{std::move(remaining)}}, false);
}

std::vector<Holder> EjectFlow::askToQuit(const std::vector<Holder>& holders,
                                         const std::set<std::int32_t>& endProcesses) const {
    std::vector<Holder> asked;
    for (const Holder& holder : holders) {
        const std::vector<HolderAction> actions = HolderPolicy::actions(holder, currentUID);
        if (offers(actions, HolderAction::quitApp)) {
            // An app the desktop gives no way to ask is waited for all the same: the user was
            // told to close it.
            if (!holder.app->canBeAskedToQuit() || quitter->quitApp(holder)) asked.push_back(holder);
        } else if (endProcesses.contains(holder.pid) && HolderPolicy::mayEndWhenAsked(holder, currentUID)) {
            if (quitter->endProcess(holder.identity(), HolderPolicy::endSignal(holder))) asked.push_back(holder);
        }
    }
    return asked;
}

void EjectFlow::waitForExit(const std::vector<Holder>& asked) const {
    // Written so that a zero, negative or NaN wait skips waiting altogether.
    if (!(quitWait > 0) || asked.empty()) return;
    if (awaitExit) {
        std::vector<ProcessIdentity> processes;
        for (const Holder& holder : asked) processes.push_back(holder.identity());
        awaitExit(processes, quitWait);
        return;
    }
    double elapsed = 0;
    while (true) {
        const bool anyAlive = std::any_of(asked.begin(), asked.end(),
                                          [&](const Holder& holder) { return quitter->isAlive(holder.identity()); });
        if (!anyAlive) return;
        sleep(quitPollInterval);
        if (!(quitWait > elapsed + quitPollInterval)) return;
        elapsed += quitPollInterval;
    }
}

std::vector<DriveReport> EjectFlow::ejectAll(const std::vector<Drive>& drives) const {
    std::vector<DriveReport> reports;
    reports.reserve(drives.size());
    for (const Drive& drive : ejectOrder(drives)) reports.push_back(eject(drive, false));
    return reports;
}

DriveReport EjectFlow::report(const Drive& drive, DriveVerdict verdict, bool forced) const {
    return DriveReport{.drive = drive, .verdict = std::move(verdict), .date = now(), .forced = forced};
}

}  // namespace kestrix
