#include <gtest/gtest.h>

#include "KestrixApp/Model/DriveDisplay.h"
#include "KestrixApp/Model/RecentReports.h"

using namespace kestrix;

namespace {

Holder holder(std::int32_t pid, const std::string& name) { return Holder{.pid = pid, .name = name}; }

ScanResult scanFinding(std::vector<Holder> holders) {
    return ScanResult{.holders = std::move(holders), .checked = 40, .hidden = 3, .deep = false};
}

DriveReport reportOf(DriveVerdict verdict) {
    return DriveReport{.drive = Drive{.id = "sdb"}, .verdict = std::move(verdict)};
}

}  // namespace

TEST(DriveDisplay, CheckingAgainKeepsThePreviousScanOnScreenButOtherWorkShowsBusy) {
    DriveState state;
    state.busy = Busy::checking;
    EXPECT_EQ(display(state), DriveDisplay{Busy::checking}) << "a first check has nothing else to show";

    state.scan = scanFinding({holder(410, "vim")});
    EXPECT_EQ(display(state), (DriveDisplay{DriveDisplay::InUse{{holder(410, "vim")}, ScanSummary{40, 3, false}}}));

    state.busy = Busy::ejecting;
    EXPECT_EQ(display(state), DriveDisplay{Busy::ejecting});

    state.busy.reset();
    state.scan = scanFinding({});
    EXPECT_EQ(display(state), DriveDisplay{DriveDisplay::Ready{}});
}

TEST(DriveDisplay, AReportOutranksANewerScanUntilACheckFindsTheHoldersGone) {
    DriveState state;
    state.takeReport(reportOf(DriveVerdict{DriveVerdict::InUse{{holder(410, "vim")}, ScanSummary{}}}));
    state.takeScan(scanFinding({holder(520, "rsync")}));
    EXPECT_EQ(display(state), (DriveDisplay{DriveDisplay::InUse{{holder(410, "vim")}, ScanSummary{}}}));

    state.takeScan(scanFinding({}));
    EXPECT_FALSE(state.report) << "an in-use report the scan no longer confirms is stale";
    EXPECT_EQ(display(state), DriveDisplay{DriveDisplay::Ready{}});

    // Other refusals stay until the next eject: the scan cannot tell whether they still hold.
    state.takeReport(reportOf(DriveVerdict{DriveVerdict::Failed{-119930871, "Operation not permitted"}}));
    state.takeScan(scanFinding({}));
    EXPECT_TRUE((display(state).is<DriveDisplay::Failed>()));
    EXPECT_TRUE(display(state).needsAttention());

    state.takeReport(reportOf(DriveVerdict{DriveVerdict::Ejected{}}));
    EXPECT_FALSE(state.scan) << "a success forgets the scan of a drive that is gone";
    EXPECT_EQ(display(state), DriveDisplay{DriveDisplay::Ready{}});
    EXPECT_FALSE(display(state).needsAttention());
}

TEST(DriveDisplay, WhatTheKernelHoldsADriveWithIsShownLikeItsProcesses) {
    DriveState state;
    ScanResult scan = scanFinding({});
    const KernelHolder swap{.kind = KernelHoldKind::swapArea, .name = "/media/KHB/swapfile"};
    scan.kernelHolders = {swap};
    state.takeScan(scan);
    const DriveDisplay shown = display(state);
    ASSERT_TRUE(shown.is<DriveDisplay::InUse>());
    EXPECT_EQ(shown.as<DriveDisplay::InUse>()->kernelHolders, std::vector<KernelHolder>{swap});
    EXPECT_TRUE(shown.needsAttention());
}

TEST(RecentReports, KeepsTheSixNewestFirst) {
    std::vector<DriveReport> recent;
    for (int index = 0; index < 8; ++index) {
        addRecent(recent, DriveReport{.drive = Drive{.id = std::to_string(index)}, .verdict = {DriveVerdict::Ejected{}}});
    }
    ASSERT_EQ(recent.size(), 6u);
    EXPECT_EQ(recent.front().drive.id, "7");
    EXPECT_EQ(recent.back().drive.id, "2");
}
