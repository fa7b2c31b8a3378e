#include "KestrixKit/History/HistoryEvent.h"

#include "KestrixKit/Backups/BackupTexts.h"
#include "KestrixKit/Coding/RawValueTable.h"
#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix {
namespace {

using Outcome = HistoryEvent::Outcome;

constexpr coding::RawValueTable<Outcome, 9> rawValues{{{
    {Outcome::ejected, "ejected"},
    {Outcome::unmountedOnly, "unmountedOnly"},
    {Outcome::inUse, "inUse"},
    {Outcome::heldByMacOS, "heldByMacOS"},
    {Outcome::waitingOnApps, "waitingOnApps"},
    {Outcome::backupRunning, "backupRunning"},
    {Outcome::failed, "failed"},
    {Outcome::forced, "forced"},
    {Outcome::detached, "detached"},
}}};

constexpr coding::RawValueTable<Outcome, 9> labels{{{
    {Outcome::ejected, "Ejected"},
    {Outcome::unmountedOnly, "Unmounted"},
    {Outcome::inUse, "In use"},
    {Outcome::heldByMacOS, "macOS service"},
    {Outcome::waitingOnApps, "App still open"},
    {Outcome::backupRunning, "Backing up"},
    {Outcome::failed, "Refused"},
    {Outcome::forced, "Forced"},
    {Outcome::detached, "Detached"},
}}};

Outcome outcomeOf(const DriveReport& report) {
    const DriveVerdict& verdict = report.verdict;
    if (verdict.is<DriveVerdict::InUse>()) return Outcome::inUse;
    if (verdict.is<DriveVerdict::HeldByMacOS>()) return Outcome::heldByMacOS;
    if (verdict.is<DriveVerdict::WaitingOnApps>()) return Outcome::waitingOnApps;
    if (verdict.is<DriveVerdict::BackupRunning>()) return Outcome::backupRunning;
    if (verdict.is<DriveVerdict::Failed>()) return Outcome::failed;
    if (verdict.is<DriveVerdict::Detached>()) return Outcome::detached;
    if (report.forced) return Outcome::forced;
    return verdict.is<DriveVerdict::Ejected>() ? Outcome::ejected : Outcome::unmountedOnly;
}

std::vector<HistoryEvent::Culprit> culpritsOf(const DriveVerdict& verdict) {
    // A backup names no process; the backup itself is what was in the way.
    if (const auto* backup = verdict.as<DriveVerdict::BackupRunning>()) {
        return {{BackupTexts::culpritName(backup->status), HelperKind::timeMachine}};
    }
    std::vector<HistoryEvent::Culprit> culprits;
    for (const Holder& holder : verdict.holders()) culprits.push_back({holder.name, holder.kind});
    return culprits;
}

}  // namespace

HistoryEvent HistoryEvent::fromReport(const DriveReport& report, const Uuid& id) {
    return HistoryEvent{.id = id,
                        .date = report.date,
                        .driveName = report.drive.name(),
                        .outcome = outcomeOf(report),
                        .culprits = culpritsOf(report.verdict)};
}

bool HistoryEvent::isBlocked(Outcome outcome) {
    return outcome != Outcome::ejected && outcome != Outcome::unmountedOnly && outcome != Outcome::forced;
}

std::string label(HistoryEvent::Outcome outcome) { return localized(labels.name(outcome)); }
std::string_view rawValue(HistoryEvent::Outcome outcome) { return rawValues.name(outcome); }
std::optional<HistoryEvent::Outcome> outcomeFromRawValue(std::string_view raw) { return rawValues.value(raw); }

}  // namespace kestrix
