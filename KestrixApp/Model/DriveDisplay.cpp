#include "KestrixApp/Model/DriveDisplay.h"

namespace kestrix {
namespace {

struct DisplayOfVerdict {
    DriveDisplay operator()(const DriveVerdict::InUse& inUse) const { return {inUse}; }
    DriveDisplay operator()(const DriveVerdict::HeldByMacOS& held) const { return {held}; }
    DriveDisplay operator()(const DriveVerdict::WaitingOnApps& waiting) const { return {waiting}; }
    DriveDisplay operator()(const DriveVerdict::BackupRunning& backup) const { return {backup}; }
    DriveDisplay operator()(const DriveVerdict::Failed& failed) const { return {failed}; }
    DriveDisplay operator()(const DriveVerdict::Ejected&) const { return {DriveDisplay::Ready{}}; }
    DriveDisplay operator()(const DriveVerdict::UnmountedOnly&) const { return {DriveDisplay::Ready{}}; }
    DriveDisplay operator()(const DriveVerdict::Detached& detached) const { return {detached}; }
};

}  // namespace

DriveDisplay display(const DriveState& state) {
    if (state.busy && (*state.busy != Busy::checking || !state.scan)) return {*state.busy};
    if (state.report && !state.report->verdict.isDone()) return std::visit(DisplayOfVerdict{}, state.report->verdict.value);
    if (state.scan && !state.scan->isEmpty()) {
        const ScanResult& scan = *state.scan;
        return {DriveDisplay::InUse{scan.holders, ScanSummary{scan.checked, scan.hidden, scan.deep}, scan.kernelHolders}};
    }
    return {DriveDisplay::Ready{}};
}

}  // namespace kestrix
