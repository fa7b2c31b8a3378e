#include "KestrixApp/Model/DriveState.h"

namespace kestrix {

void DriveState::takeScan(ScanResult result) {
    busy.reset();
    if (report && report->verdict.is<DriveVerdict::InUse>() && result.holders.empty()) report.reset();
    scan = std::move(result);
}

void DriveState::takeReport(DriveReport result) {
    busy.reset();
    flush.reset();
    // The report carries the holders of an in-use verdict itself.
    if (result.verdict.isDone() || result.verdict.is<DriveVerdict::InUse>()) scan.reset();
    report = std::move(result);
}

}  // namespace kestrix
