#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <thread>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Flow/EjectFlow.h"
#include "KestrixKit/Linux/BlockDevices/DeviceIdentity.h"
#include "KestrixKit/Linux/Ejecting/UnmountEjector.h"
#include "KestrixKit/Linux/Mounts/MountTableVolumeSource.h"
#include "KestrixKit/Linux/Processes/ProcfsSource.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Tests/Support/ScopedMount.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"
#include "KestrixKit/Volumes/DriveIdentity.h"
#include "KestrixKit/Volumes/VolumeList.h"

using namespace kestrix;
using kestrix::test::commandOutput;
using kestrix::test::runQuietly;
namespace fs = std::filesystem;

namespace {

// The listed drive mounted at this folder.
std::optional<Drive> listedAt(const std::string& mountPath) {
    for (const Drive& drive : VolumeList::drives(MountTableVolumeSource(), {.diskImages = true, .networkShares = false})) {
        for (const std::string& path : drive.mountPaths()) {
            if (path == mountPath) return drive;
        }
    }
    return std::nullopt;
}

// Eject All as the command line runs it on this machine, on the given drives only.
EjectFlow flow() {
    return EjectFlow{.scanner = HolderScanner{.source = std::make_shared<ProcfsSource>(), .ownPID = getpid()},
                     .ejector = std::make_shared<UnmountEjector>(),
                     .quitter = nullptr,
                     .sleep = [](double) {},
                     .isSameDrive = [](const Drive& drive) { return isSameDrive(drive, currentVolumeIdentity); },
                     .now = [] { return std::chrono::system_clock::now(); }};
}

// The kernel may finish taking a loop device down a moment after the eject returns.
bool isDetachedSoon(const test::LoopDrive& drive) {
    for (int attempt = 0; attempt < 250 && drive.isAttached(); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return !drive.isAttached();
}

// Two ext4 images, Charlie and Delta, and a folder under /media for each; Charlie is attached
// to a loop device of its own and mounted.
class SwappedLoopDevice : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = other.skipReason()) GTEST_SKIP() << *reason;
        for (const std::string name : {"Charlie", "Delta"}) {
            const fs::path image = base.string() + "-" + name + ".img";
            ASSERT_TRUE(runQuietly("truncate -s 16M " + image.string() + " && mkfs.ext4 -q -F -L " + name + " " +
                                   image.string()));
            fs::create_directories(base / name);
        }
        loopDevice = commandOutput("losetup -f --show " + base.string() + "-Charlie.img 2>/dev/null");
        ASSERT_FALSE(loopDevice.empty());
        ASSERT_TRUE(runQuietly("mount " + loopDevice + " " + (base / "Charlie").string()));
    }

    void TearDown() override {
        for (const std::string name : {"Charlie", "Delta"}) {
            runQuietly("umount -l " + (base / name).string());
            runQuietly("losetup -j " + base.string() + "-" + name + ".img -n -O NAME | xargs -r losetup -d");
            std::error_code error;
            fs::remove(base.string() + "-" + name + ".img", error);
            fs::remove(base / name, error);
        }
        std::error_code error;
        fs::remove(base, error);
    }

    test::LoopDrive other{{.folderPrefix = "kestrix-identity", .labelPrefix = "KestrixOther", .detachesOnUnmount = false}};
    const fs::path base = "/media/kestrix-identity-" + std::to_string(std::random_device()() % 1000000);
    std::string loopDevice;
};

}  // namespace

TEST_F(SwappedLoopDevice, ADriveAttachedLaterUnderTheSameNameIsNeverTouched) {
    const std::optional<Drive> charlie = listedAt((base / "Charlie").string());
    const std::optional<Drive> stays = listedAt(other.mountPath());
    ASSERT_TRUE(charlie && stays);
    ASSERT_TRUE(charlie->volumes.front().identity);
    EXPECT_EQ(currentVolumeIdentity(charlie->volumes.front()), charlie->volumes.front().identity);

    // While Eject All works from its list, someone ejects Charlie and puts Delta on its loop device.
    ASSERT_TRUE(runQuietly("umount " + (base / "Charlie").string() + " && losetup -d " + loopDevice));
    if (!runQuietly("losetup " + loopDevice + " " + base.string() + "-Delta.img")) {
        GTEST_SKIP() << "another test took " << loopDevice << " meanwhile";
    }
    ASSERT_TRUE(runQuietly("mount " + loopDevice + " " + (base / "Delta").string()));

    const std::vector<DriveReport> reports = flow().ejectAll({*charlie, *stays});
    ASSERT_TRUE(reports[0].verdict.is<DriveVerdict::Failed>()) << reports[0].verdict.caseName();
    EXPECT_EQ(reports[0].verdict.as<DriveVerdict::Failed>()->status, DAStatus::notFound);
    EXPECT_TRUE(test::isMounted((base / "Delta").string()));
    EXPECT_EQ(commandOutput("losetup -n -O BACK-FILE " + loopDevice), base.string() + "-Delta.img");
    // The drive that stayed the same is ejected as usual.
    EXPECT_TRUE(reports[1].verdict.is<DriveVerdict::Ejected>()) << reports[1].verdict.caseName();
    EXPECT_TRUE(isDetachedSoon(other));
}

TEST(RealEjectAll, ADriveMountedInsideAnotherGoesFirst) {
    test::LoopDrive outer{{.folderPrefix = "kestrix-outer", .labelPrefix = "KestrixOuter", .detachesOnUnmount = false}};
    test::LoopDrive inner{{.folderPrefix = "kestrix-inner", .labelPrefix = "KestrixInner", .detachesOnUnmount = false}};
    for (const test::LoopDrive* drive : {&outer, &inner}) {
        if (const auto& reason = drive->skipReason()) GTEST_SKIP() << *reason;
    }
    // Mounted a second time, in a folder of the outer drive.
    const test::ScopedMount inside(inner.loopDevice(), outer.mountPath() + "/inside", "ext4");
    ASSERT_TRUE(inside.isMounted());
    const std::optional<Drive> outerDrive = listedAt(outer.mountPath());
    const std::optional<Drive> innerDrive = listedAt(inside.folder());
    ASSERT_TRUE(outerDrive && innerDrive);

    const std::vector<DriveReport> reports = flow().ejectAll({*outerDrive, *innerDrive});
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].drive, *innerDrive);
    for (const DriveReport& report : reports) EXPECT_TRUE(report.verdict.isDone()) << report.verdict.caseName();
    EXPECT_TRUE(isDetachedSoon(inner));
    EXPECT_TRUE(isDetachedSoon(outer));
}

TEST(RealEjectAll, ADiskImageGoesBeforeTheDriveItsFileLiesOn) {
    test::LoopDrive outer{{.folderPrefix = "kestrix-holding", .labelPrefix = "KestrixHolding", .detachesOnUnmount = false}};
    if (const auto& reason = outer.skipReason()) GTEST_SKIP() << *reason;
    const std::string file = outer.mountPath() + "/photos.img";
    ASSERT_TRUE(runQuietly("truncate -s 8M '" + file + "' && mkfs.ext4 -q -F '" + file + "'"));
    const std::string device = commandOutput("losetup -f --show '" + file + "' 2>/dev/null");
    if (device.empty()) GTEST_SKIP() << "cannot attach a second loop device";
    {
        // Mounted outside the drive, so that only its file ties it to the drive.
        const test::ScopedMount image(device, test::uniqueMediaFolder("kestrix-image"), "ext4");
        ASSERT_TRUE(image.isMounted());
        const std::optional<Drive> outerDrive = listedAt(outer.mountPath());
        const std::optional<Drive> imageDrive = listedAt(image.folder());
        ASSERT_TRUE(outerDrive && imageDrive);
        EXPECT_EQ(imageDrive->volumes.at(0).imageFile, file);

        const std::vector<DriveReport> reports = flow().ejectAll({*outerDrive, *imageDrive});
        ASSERT_EQ(reports.size(), 2u);
        EXPECT_EQ(reports[0].drive, *imageDrive);
        for (const DriveReport& report : reports) EXPECT_TRUE(report.verdict.isDone()) << report.verdict.caseName();
    }
    if (fs::exists("/sys/block/" + device.substr(5) + "/loop/backing_file")) runQuietly("losetup -d " + device);
    EXPECT_TRUE(isDetachedSoon(outer));
}
