#include <gtest/gtest.h>

#include "KestrixApp/Desktop/UDisks2/Tests/FakeUDisks2.h"
#include "KestrixApp/Desktop/UDisks2/Tests/OffMainThread.h"
#include "KestrixApp/Desktop/UDisks2/Tests/PrivateBus.h"
#include "KestrixApp/Desktop/UDisks2/UDisks2Ejector.h"
#include "KestrixApp/Desktop/UDisks2/UDisks2Interfaces.h"
#include "KestrixKit/Ejection/DAStatus.h"

using namespace kestrix;

namespace {

const QString objects = QStringLiteral("/org/freedesktop/UDisks2/");

const QString stick = objects + QStringLiteral("drives/Stick");
const QString disk = objects + QStringLiteral("block_devices/sdx");
const QString container = objects + QStringLiteral("block_devices/sdx1");
const QString cleartext = objects + QStringLiteral("block_devices/dm_2d0");
const QString plain = objects + QStringLiteral("block_devices/sdx2");

// A USB stick the service can power off: an opened encrypted partition and a plain one.
class FakeServiceEject : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = bus_.skipReason()) GTEST_SKIP() << *reason;
        fake_.addObject(stick, {{UDisks2Interfaces::drive, test::driveProperties(true, true)}});
        fake_.addObject(disk, {{UDisks2Interfaces::block, test::blockProperties("/dev/sdx", stick)}});
        fake_.addObject(container, {{UDisks2Interfaces::block, test::blockProperties("/dev/sdx1", stick)},
                                    {UDisks2Interfaces::partition, test::partitionProperties(disk)},
                                    {UDisks2Interfaces::encrypted, {}}});
        fake_.addObject(cleartext, {{UDisks2Interfaces::block, test::blockProperties("/dev/dm-0", "/", container)},
                                    {UDisks2Interfaces::fileSystem, test::fileSystemProperties({"/media/u/Photos"})}});
        fake_.addObject(plain, {{UDisks2Interfaces::block, test::blockProperties("/dev/sdx2", stick)},
                                {UDisks2Interfaces::partition, test::partitionProperties(disk)},
                                {UDisks2Interfaces::fileSystem, test::fileSystemProperties({"/media/u/Backup"})}});
    }

    void serve() { ASSERT_TRUE(fake_.serveOn(bus_.connect(QStringLiteral("fake-udisks2")))); }
    EjectOutcome eject(bool force = false) {
        UDisks2Ejector ejector(bus_.connect(QStringLiteral("ejector")));
        return test::ejectOffMainThread(ejector, drive_, force);
    }

    test::PrivateBus bus_;
    test::FakeUDisks2 fake_;
    // As the volume source lists it: the opened container is a whole disk of its own.
    const Drive drive_{.id = "sdx",
                       .volumes = {DriveVolume{.name = "Photos", .mountPath = "/media/u/Photos", .bsdName = "mapper/luks-1",
                                               .wholeDisk = "dm-0", .physicalDisk = "sdx"},
                                   DriveVolume{.name = "Backup", .mountPath = "/media/u/Backup", .bsdName = "sdx2",
                                               .wholeDisk = "sdx", .physicalDisk = "sdx"}}};
};

}  // namespace

TEST_F(FakeServiceEject, ForcedEjectUnmountsEachFileSystemOnceLocksTheContainerAndPowersOff) {
    serve();
    EXPECT_EQ(eject(true), EjectOutcome{EjectOutcome::Ejected{}});
    EXPECT_EQ(fake_.calls(), (std::vector<std::string>{
                                 "Unmount /org/freedesktop/UDisks2/block_devices/dm_2d0 {force=true}",
                                 "Unmount /org/freedesktop/UDisks2/block_devices/sdx2 {force=true}",
                                 "Lock /org/freedesktop/UDisks2/block_devices/sdx1 {}",
                                 "PowerOff /org/freedesktop/UDisks2/drives/Stick {}",
                             }));
}

TEST_F(FakeServiceEject, UnmountRefusalsKeepTheServiceText) {
    serve();
    struct Case {
        UDisks2Error refusal;
        EjectOutcome expected;
    };
    const std::vector<Case> cases{
        {{"org.freedesktop.UDisks2.Error.DeviceBusy", "Error unmounting /dev/dm-0: target is busy"},
         {EjectOutcome::Busy{.volume = "Photos", .pid = std::nullopt, .status = DAStatus::busy}}},
        {{"org.freedesktop.UDisks2.Error.NotAuthorizedDismissed", "The authentication dialog was dismissed"},
         {EjectOutcome::Failed{.volume = "Photos", .status = DAStatus::notPrivileged,
                               .message = "The authentication dialog was dismissed"}}},
        {{"org.freedesktop.DBus.Error.UnknownMethod", "Object does not exist at path “…/dm_2d0”"},
         {EjectOutcome::Failed{.volume = "Photos", .status = DAStatus::notFound, .message = std::nullopt}}},
        {{"org.freedesktop.UDisks2.Error.Failed", "Error unmounting /dev/dm-0: wrong fs type"},
         {EjectOutcome::Failed{.volume = "Photos", .status = DAStatus::error,
                               .message = "Error unmounting /dev/dm-0: wrong fs type"}}},
    };
    for (const Case& each : cases) {
        fake_.refuse(cleartext, QStringLiteral("Unmount"), each.refusal);
        EXPECT_EQ(eject(), each.expected) << each.refusal.name;
    }
    // The first refusal ends the eject: nothing else was asked.
    EXPECT_EQ(fake_.calls().size(), cases.size());

    // Unmounted meanwhile by someone else: what the request was for.
    fake_.refuse(cleartext, QStringLiteral("Unmount"), {"org.freedesktop.UDisks2.Error.NotMounted", "Not mounted"});
    EXPECT_EQ(eject(), EjectOutcome{EjectOutcome::Ejected{}});
}

TEST_F(FakeServiceEject, RefusedPowerOffIsBusyNamedAfterTheDriveOrLeavesItUnmounted) {
    serve();
    fake_.refuse(stick, QStringLiteral("PowerOff"), {"org.freedesktop.UDisks2.Error.DeviceBusy", "Device is busy"});
    EXPECT_EQ(eject(), (EjectOutcome{EjectOutcome::Busy{.volume = "Photos, Backup", .pid = std::nullopt,
                                                        .status = DAStatus::busy}}));
    fake_.refuse(stick, QStringLiteral("PowerOff"), {"org.freedesktop.UDisks2.Error.NotAuthorized", "Not authorized"});
    EXPECT_EQ(eject(), EjectOutcome{EjectOutcome::UnmountedOnly{}});
}

TEST_F(FakeServiceEject, WithoutTheServiceTheFailureCarriesTheBusText) {
    const QDBusConnection connection = bus_.connect(QStringLiteral("probe"));
    EXPECT_FALSE(isUDisks2Available(connection));
    const EjectOutcome outcome = eject();
    ASSERT_TRUE(outcome.is<EjectOutcome::Failed>());
    EXPECT_EQ(outcome.as<EjectOutcome::Failed>()->status, DAStatus::error);
    EXPECT_NE(outcome.as<EjectOutcome::Failed>()->message.value_or("").find("org.freedesktop.UDisks2"), std::string::npos);

    serve();
    EXPECT_TRUE(isUDisks2Available(connection));
}
