#include <gtest/gtest.h>

#include "KestrixApp/Views/Cards/CardTexts.h"

using namespace kestrix;
using namespace kestrix::views;

TEST(BackupDetail, RoundsTheProgressToAWholePercentOrLeavesItOut) {
    TimeMachineStatus status{.running = true, .progress = 0.426};
    auto lines = detailLines(DriveDisplay{DriveDisplay::Backup{status}});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "Time Machine is backing up to this drive (43% done).");
    EXPECT_EQ(lines[1].text, "Wait for the backup to finish, or stop it.");
    EXPECT_TRUE(lines[1].secondary);

    EXPECT_EQ(percentDone(0.995), 100);
    status.progress.reset();
    lines = detailLines(DriveDisplay{DriveDisplay::Backup{status}});
    EXPECT_EQ(lines[0].text, "Time Machine is backing up to this drive.");
}
