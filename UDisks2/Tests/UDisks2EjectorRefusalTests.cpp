#include <gtest/gtest.h>

#include "UDisks2/Tests/FakeUDisks2.h"
#include "UDisks2/TestSupport/OffMainThread.h"
#include "UDisks2/TestSupport/PrivateBus.h"
#include "UDisks2/UDisks2Ejector.h"
#include "UDisks2/UDisks2Interfaces.h"
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
        // polkit's refusals say why in the user's words, not in the name of its action.
        {{"org.freedesktop.UDisks2.Error.NotAuthorizedDismissed", "The authentication dialog was dismissed"},
         {EjectOutcome::Failed{.volume = "Photos", .status = DAStatus::notPrivileged,
                               .message = "the password dialog was closed"}}},
        {{"org.freedesktop.UDisks2.Error.NotAuthorized", "Not authorized to perform operation"},
         {EjectOutcome::Failed{.volume = "Photos", .status = DAStatus::notPrivileged,
                               .message = "your account isn\u2019t allowed to do this"}}},
        {{"org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain", "Not authorized to perform operation"},
         {EjectOutcome::Failed{.volume = "Photos", .status = DAStatus::notPrivileged,
                               .message = "it needs a password, and no polkit agent is running to ask for it"}}},
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

// A password would do but nothing could ask for it: the caller's agent is started once, and the
// refused call made again; without an agent the refusal stands.
TEST_F(FakeServiceEject, AWantedPasswordStartsTheAgentAndTheCallIsMadeAgain) {
    serve();
    const UDisks2Error wanted{"org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain", "Not authorized"};
    fake_.refuse(cleartext, QStringLiteral("Unmount"), wanted);
    int agents = 0;
    UDisks2Ejector asking(bus_.connect(QStringLiteral("asking")),
                          {.mayAsk = true, .passwordWanted = [&] {
                               ++agents;
                               fake_.allow(cleartext, QStringLiteral("Unmount"));
                               return true;
                           }});
    EXPECT_EQ(test::ejectOffMainThread(asking, drive_, false), EjectOutcome{EjectOutcome::Ejected{}});
    EXPECT_EQ(agents, 1);
    EXPECT_EQ(fake_.calls()[0], fake_.calls()[1]);

    fake_.refuse(cleartext, QStringLiteral("Unmount"), wanted);
    UDisks2Ejector noAgent(bus_.connect(QStringLiteral("no-agent")), {.mayAsk = true, .passwordWanted = [] { return false; }});
    EXPECT_TRUE(test::ejectOffMainThread(noAgent, drive_, false).is<EjectOutcome::Failed>());
}

// For scripts: the service is told never to ask, the caller hears that a password was wanted, and
// the call is not made again.
TEST_F(FakeServiceEject, WithoutAskingEveryCallForbidsPasswordsAndIsMadeOnce) {
    serve();
    fake_.refuse(cleartext, QStringLiteral("Unmount"), {"org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain", ""});
    int agents = 0;
    UDisks2Ejector silent(bus_.connect(QStringLiteral("silent")), {.mayAsk = false, .passwordWanted = [&] {
                                                                       ++agents;
                                                                       return true;
                                                                   }});
    EXPECT_TRUE(test::ejectOffMainThread(silent, drive_, false).is<EjectOutcome::Failed>());
    EXPECT_EQ(agents, 1);
    EXPECT_EQ(fake_.calls(), (std::vector<std::string>{
                                 "Unmount /org/freedesktop/UDisks2/block_devices/dm_2d0 {auth.no_user_interaction=true}"}));
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
