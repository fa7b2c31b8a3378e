#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KestrixKit/Flow/DriveReport.h"
#include "KestrixKit/Coding/Uuid.h"
#include "KestrixKit/Holders/HelperKind.h"

namespace kestrix {

// What happened to one eject, as the history keeps it: names, kinds, a date and an outcome,
// never paths or file contents.
struct HistoryEvent {
    enum class Outcome { ejected, unmountedOnly, inUse, heldByMacOS, waitingOnApps, backupRunning, failed, forced, detached };

    // A process that was in the way.
    struct Culprit {
        std::string name;
        HelperKind kind = HelperKind::commandLine;

        auto operator<=>(const Culprit&) const = default;
    };

    Uuid id;
    std::chrono::system_clock::time_point date;
    std::string driveName;
    Outcome outcome = Outcome::ejected;
    std::vector<Culprit> culprits;

    // The event for a report, under a new identifier.
    static HistoryEvent fromReport(const DriveReport& report, const Uuid& id);

    bool wasBlocked() const { return isBlocked(outcome); }

    // Whether the outcome means that something kept the drive from ejecting.
    static bool isBlocked(Outcome outcome);

    bool operator==(const HistoryEvent&) const = default;
};

// The label the history page shows: "Ejected", "In use", …
std::string label(HistoryEvent::Outcome outcome);
std::string_view rawValue(HistoryEvent::Outcome outcome);
std::optional<HistoryEvent::Outcome> outcomeFromRawValue(std::string_view raw);

}  // namespace kestrix
