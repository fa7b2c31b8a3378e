#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <optional>
#include <thread>

#include "UDisks2/TestSupport/OffMainThread.h"
#include "UDisks2/TestSupport/UDisks2Daemon.h"
#include "UDisks2/UDisks2Bus.h"
#include "UDisks2/UDisks2Ejector.h"
#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Flow/EjectFlow.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "KestrixKit/Linux/Processes/ProcfsSource.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"

using namespace kestrix;
using kestrix::test::isMounted;

namespace {

template <typename Condition>
bool eventually(Condition condition) {
    for (int attempt = 0; attempt < 100 && !condition(); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

// An image on a loop device of its own, mounted under /media, with the real disk service
// watching it on a private system bus.
class RealServiceEject : public ::testing::Test {
protected:
    static void SetUpTestSuite() { daemon_ = std::make_unique<test::UDisks2Daemon>(); }
    static void TearDownTestSuite() { daemon_.reset(); }

    void SetUp() override {
        if (const auto& reason = daemon_->skipReason()) GTEST_SKIP() << *reason;
        if (const auto& reason = loop_.skipReason()) GTEST_SKIP() << *reason;
        const std::string name = loop_.loopDevice().substr(std::string("/dev/").size());
        const std::optional<MountPointStatus> status = readMountPointStatus(loop_.mountPath());
        ASSERT_TRUE(status);
        drive_ = Drive{.id = name, .volumes = {DriveVolume{.name = loop_.name(), .mountPath = loop_.mountPath(),
                                                          .bsdName = name, .wholeDisk = name, .physicalDisk = name,
                                                          .device = status->device, .fileSystem = "ext4"}}};
        if (!eventually([&] { return serviceSeesTheMount(); })) {
            GTEST_SKIP() << "udisksd never saw " << loop_.loopDevice() << " mounted (no device events?)";
        }
    }

    bool serviceSeesTheMount() const {
        const auto read = UDisks2Bus(connect("watcher")).managedObjects();
        const auto* objects = std::get_if<UDisks2Objects>(&read);
        if (!objects) return false;
        return std::any_of(objects->blocks.begin(), objects->blocks.end(), [&](const UDisks2Block& block) {
            const auto points = block.mountPoints.value_or(std::vector<std::string>{});
            return block.device == loop_.loopDevice() &&
                   std::find(points.begin(), points.end(), loop_.mountPath()) != points.end();
        });
    }

    QDBusConnection connect(const char* name) const { return daemon_->bus().connect(QString::fromLatin1(name)); }
    std::shared_ptr<UDisks2Ejector> ejector() const { return std::make_shared<UDisks2Ejector>(connect("ejector")); }

    static std::unique_ptr<test::UDisks2Daemon> daemon_;
    test::LoopDrive loop_{{.folderPrefix = "kestrix-udisks", .labelPrefix = "KestrixUDisks", .detachesOnUnmount = false}};
    Drive drive_;
};

std::unique_ptr<test::UDisks2Daemon> RealServiceEject::daemon_;

// Lets go on a worker thread, as the app does, while this thread keeps handling its events.
ReleaseOutcome releaseOffMainThread(DiskEjecting& ejector, const KernelHolder& holder) {
    std::future<ReleaseOutcome> outcome = std::async(std::launch::async, [&] { return ejector.release(holder); });
    while (outcome.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        QCoreApplication::processEvents();
    }
    return outcome.get();
}

}  // namespace

TEST_F(RealServiceEject, FreeDriveIsUnmountedAndItsLoopDeviceDeleted) {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(test::ejectOffMainThread(*ejector(), drive_, false), EjectOutcome{EjectOutcome::Ejected{}});
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    RecordProperty("ejectMilliseconds", static_cast<int>(took.count()));
    std::cout << "One eject through udisksd took " << took.count() << " ms\n";
    EXPECT_FALSE(isMounted(loop_.mountPath()));
    EXPECT_FALSE(loop_.isAttached());
}

// A file mapped into memory keeps the file system busy although no descriptor and no working
// folder point at it, so only the deep scan that follows the service's refusal finds it.
TEST_F(RealServiceEject, MappedFileIsRefusedAsBusyAndTheFlowNamesItsProcess) {
    const std::string file = loop_.mountPath() + "/mapped.bin";
    std::ofstream(file) << "kept open by a mapping";
    test::ChildProcess holder([&] {
        const int descriptor = open(file.c_str(), O_RDONLY);
        if (descriptor < 0) return false;
        const bool mapped = mmap(nullptr, 16, PROT_READ, MAP_SHARED, descriptor, 0) != MAP_FAILED;
        return close(descriptor) == 0 && mapped && chdir("/") == 0;
    });

    EXPECT_EQ(test::ejectOffMainThread(*ejector(), drive_, false),
              (EjectOutcome{EjectOutcome::Busy{.volume = loop_.name(), .pid = std::nullopt, .status = DAStatus::busy}}));

    const EjectFlow flow{.scanner = HolderScanner{.source = std::make_shared<ProcfsSource>(), .ownPID = getpid()},
                         .ejector = ejector(),
                         .quitter = nullptr,
                         .currentUID = getuid(),
                         .sleep = [](double) {},
                         .timeMachine = {},
                         .now = [] { return std::chrono::system_clock::now(); }};
    const DriveReport report = flow.eject(drive_, false);
    const auto* inUse = report.verdict.as<DriveVerdict::InUse>();
    ASSERT_TRUE(inUse) << report.verdict.caseName();
    EXPECT_TRUE(inUse->summary.deep);
    EXPECT_TRUE(std::any_of(inUse->holders.begin(), inUse->holders.end(),
                            [&](const Holder& found) { return found.pid == holder.pid(); }));
    EXPECT_TRUE(isMounted(loop_.mountPath()));
    EXPECT_TRUE(loop_.isAttached());
}

TEST_F(RealServiceEject, ForcedEjectLeavesTheDeviceUntilTheShellInsideLetsGo) {
    std::optional<test::ChildProcess> shell(std::in_place, std::vector<std::string>{"/bin/sh", "-c", "sleep 60"},
                                            loop_.mountPath());
    // Unmounted lazily, the file system lives on in the shell's folder: the loop device stays.
    EXPECT_EQ(test::ejectOffMainThread(*ejector(), drive_, true), EjectOutcome{EjectOutcome::Detached{}});
    EXPECT_FALSE(isMounted(loop_.mountPath()));
    EXPECT_TRUE(loop_.isAttached());
    shell.reset();
    // The ended shell's last reference may go a moment after it is reaped.
    bool ejected = false;
    EXPECT_TRUE(eventually([&] {
        ejected = ejected || test::ejectOffMainThread(*ejector(), drive_, false) == EjectOutcome{EjectOutcome::Ejected{}};
        return ejected;
    }));
    EXPECT_FALSE(loop_.isAttached());
}

// A disk image on the drive attached and not mounted is detached through the service, and swap on
// a whole device is stopped through it: what the drive's card offers.
TEST_F(RealServiceEject, AnAttachedImageIsDetachedAndSwapOnADeviceStoppedThroughTheService) {
    const std::string file = loop_.mountPath() + "/disk.img";
    ASSERT_TRUE(test::runQuietly("truncate -s 4M '" + file + "'"));
    const std::string device = test::commandOutput("losetup -f --show '" + file + "' 2>/dev/null");
    if (device.empty()) GTEST_SKIP() << "cannot attach a second loop device";
    const std::string backing = "/sys/block/" + device.substr(std::string("/dev/").size()) + "/loop/backing_file";
    const auto serviceHas = [&](bool swap) {
        return eventually([&] {
            const auto read = UDisks2Bus(connect("watcher")).managedObjects();
            const auto* objects = std::get_if<UDisks2Objects>(&read);
            if (!objects) return false;
            return std::any_of(objects->blocks.begin(), objects->blocks.end(), [&](const UDisks2Block& block) {
                return block.device == device && block.isLoop && (!swap || block.isSwap);
            });
        });
    };

    // Swap on the whole image device, as on a partition; skipped where the kernel refuses swap.
    if (test::runQuietly("mkswap " + device + " && swapon " + device)) {
        if (!serviceHas(true)) {
            test::runQuietly("swapoff " + device);
            ADD_FAILURE() << "udisksd never saw the swap on " << device;
        } else {
            const KernelHolder swap{.kind = KernelHoldKind::swapArea, .name = device, .device = device};
            EXPECT_EQ(releaseOffMainThread(*ejector(), swap), (ReleaseOutcome{.released = true, .message = {}}));
            EXPECT_EQ(test::commandOutput("grep -c '^" + device + " ' /proc/swaps"), "0");
            test::runQuietly("swapoff " + device);
        }
    } else {
        std::cout << "swap skipped: the kernel refuses swapon of " << device << "\n";
    }

    ASSERT_TRUE(serviceHas(false)) << "udisksd never saw " << device;
    const KernelHolder image{.kind = KernelHoldKind::diskImage, .name = file, .device = device};
    const ReleaseOutcome detached = releaseOffMainThread(*ejector(), image);
    if (!detached.released) test::runQuietly("losetup -d " + device);
    EXPECT_TRUE(detached.released) << detached.message.value_or("");
    EXPECT_TRUE(eventually([&] { return !std::ifstream(backing).good(); })) << device << " is still attached";
}
