#pragma once

#include <optional>
#include <string>

#include "KestrixApp/Model/Busy.h"
#include "KestrixKit/Ejection/FlushProgress.h"
#include "KestrixKit/Flow/DriveReport.h"
#include "KestrixKit/Holders/ScanResult.h"

namespace kestrix {

// What the app knows about one listed drive; a drive without an entry has every field absent.
struct DriveState {
    // The last check of the drive's holders.
    std::optional<ScanResult> scan;
    // The last eject result.
    std::optional<DriveReport> report;
    std::optional<Busy> busy;
    // A one-off line shown under the drive.
    std::optional<std::string> note;
    // What the kernel still writes to the drive while its eject waits for it.
    std::optional<FlushProgress> flush;

    // The end of a check. A report of holders that the new scan no longer finds is stale.
    void takeScan(ScanResult result);
    // The end of an eject. A success or a list of holders replaces the older scan.
    void takeReport(DriveReport result);

    bool operator==(const DriveState&) const = default;
};

}  // namespace kestrix
