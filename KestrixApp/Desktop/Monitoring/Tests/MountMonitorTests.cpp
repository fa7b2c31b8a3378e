#include <QSignalSpy>
#include <gtest/gtest.h>

#include "KestrixApp/Desktop/Monitoring/MountMonitor.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"

namespace {

using kestrix::desktop::MountMonitor;

TEST(MountMonitor, SignalsARealMountAndItsUnmount) {
    MountMonitor monitor;
    ASSERT_TRUE(monitor.isWatching());
    QSignalSpy changes(&monitor, &MountMonitor::mountsChanged);
    {
        kestrix::test::LoopDrive drive;
        if (drive.skipReason()) GTEST_SKIP() << *drive.skipReason();
        ASSERT_TRUE(changes.wait(5000)) << "no signal for the mount of " << drive.mountPath();
        changes.clear();
    }
    EXPECT_TRUE(changes.count() > 0 || changes.wait(5000)) << "no signal for the unmount";
}

}  // namespace
