#include <gtest/gtest.h>

#include <cerrno>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Ejection/EjectPlan.h"
#include "KestrixKit/Ejection/UnixRefusal.h"

using namespace kestrix;

namespace {

DriveVolume volume(std::string name, std::optional<std::string> bsdName, std::optional<std::string> wholeDisk,
                   std::optional<std::string> physicalDisk = std::nullopt) {
    return DriveVolume{.name = name, .mountPath = "/media/me/" + name, .bsdName = std::move(bsdName),
                       .wholeDisk = std::move(wholeDisk), .physicalDisk = std::move(physicalDisk)};
}

std::vector<std::string> keys(const EjectPlan& plan) {
    std::vector<std::string> values;
    for (const auto& unmount : plan.unmounts) values.push_back(unmount.key.value);
    return values;
}

}  // namespace

TEST(EjectPlan, OneUnmountPerKeyThenThePhysicalDisk) {
    const Drive shared{.id = "sdb", .volumes = {volume("Photos", "sdb1", "sdb"), volume("Backup", "sdb2", "sdb")}};
    const EjectPlan sharedPlan = EjectPlan::of(shared);
    EXPECT_EQ(keys(sharedPlan), std::vector<std::string>{"sdb"});
    EXPECT_TRUE(sharedPlan.unmounts[0].key.isWholeDisk);
    EXPECT_EQ(sharedPlan.unmounts[0].volume.name, "Photos");
    EXPECT_EQ(sharedPlan.ejectTarget, "sdb");

    // An encrypted volume stacked on the disk beside a plain partition: two whole disks.
    const Drive stacked{.id = "sdc", .volumes = {volume("Secret", "mapper/secret", "dm-0", "sdc"),
                                                 volume("Plain", "sdc1", "sdc", "sdc"), volume("More", "dm-0", "dm-0", "sdc")}};
    const EjectPlan stackedPlan = EjectPlan::of(stacked);
    EXPECT_EQ(keys(stackedPlan), (std::vector<std::string>{"dm-0", "sdc"}));
    EXPECT_EQ(stackedPlan.ejectTarget, "sdc");
}

TEST(EjectPlan, VolumesWithoutWholeDiskGoByDeviceNameOrPath) {
    const Drive drive{.id = "x", .volumes = {volume("Loose", "sdd1", std::nullopt), volume("Share", std::nullopt, std::nullopt)}};
    const EjectPlan plan = EjectPlan::of(drive);
    EXPECT_EQ(keys(plan), (std::vector<std::string>{"sdd1", "/media/me/Share"}));
    EXPECT_FALSE(plan.unmounts[0].key.isWholeDisk);
    EXPECT_EQ(plan.ejectTarget, std::nullopt);
}

TEST(UnixRefusal, UnmountErrorsReadAsOutcomes) {
    EXPECT_EQ(UnixRefusal::unmount(EBUSY, "Photos", "Device or resource busy"),
              (EjectOutcome{EjectOutcome::Busy{.volume = "Photos", .pid = std::nullopt, .status = 0xC010}}));
    EXPECT_EQ(UnixRefusal::unmount(EPERM, "Photos", "Operation not permitted"),
              (EjectOutcome{EjectOutcome::Failed{.volume = "Photos", .status = DAStatus::notPermitted,
                                                 .message = "only root can unmount it without the disk service (UDisks2)"}}));
    EXPECT_EQ(UnixRefusal::unmount(EINVAL, "Photos", "Invalid argument"),
              (EjectOutcome{EjectOutcome::Failed{.volume = "Photos", .status = DAStatus::notFound, .message = std::nullopt}}));
    EXPECT_EQ(UnixRefusal::unmount(EIO, "Photos", "Input/output error"),
              (EjectOutcome{EjectOutcome::Failed{.volume = "Photos", .status = 0xC000 + EIO, .message = "Input/output error"}}));
}

TEST(UnixRefusal, EjectErrorsAreBusyOrUnmountedOnly) {
    EXPECT_EQ(UnixRefusal::eject(EBUSY, "Photos, Backup"),
              (EjectOutcome{EjectOutcome::Busy{.volume = "Photos, Backup", .pid = std::nullopt, .status = DAStatus::unixBusy}}));
    EXPECT_TRUE(UnixRefusal::eject(EIO, "Photos").is<EjectOutcome::UnmountedOnly>());
}
