#include <gtest/gtest.h>

#include "KestrixKit/Simulated/SimulatedVolumeSource.h"
#include "KestrixKit/Simulated/World.h"
#include "KestrixKit/Volumes/VolumeList.h"

using namespace kestrix;

namespace {

std::vector<Drive> drivesOf(std::string_view worldText, VolumeFilter filter = {}) {
    WorldLoadResult loaded = parseWorld(worldText);
    if (auto* error = std::get_if<WorldError>(&loaded)) ADD_FAILURE() << error->message;
    auto system = std::make_shared<SimulatedSystem>(std::get<World>(std::move(loaded)));
    return VolumeList::drives(SimulatedVolumeSource(system), filter);
}

}  // namespace

TEST(VolumeList, ReadAppliesTheDefaultsOfUnknownFacts) {
    const std::optional<DriveVolume> bare = VolumeList::read(MountedVolume{.path = "/Volumes/Untitled"}, false);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->name, "Untitled");
    EXPECT_EQ(bare->kind, VolumeKind::externalDrive);
    EXPECT_FALSE(bare->bsdName || bare->wholeDisk || bare->physicalDisk);
    EXPECT_EQ(bare->totalBytes, 0u);

    const std::optional<DriveVolume> stick = VolumeList::read(
        MountedVolume{.path = "/Volumes/Photos", .mountSource = "/dev/disk4s1", .wholeDisk = "disk4"}, false);
    ASSERT_TRUE(stick);
    EXPECT_EQ(stick->bsdName, "disk4s1");
    EXPECT_EQ(stick->physicalDisk, "disk4");

    const std::optional<DriveVolume> share = VolumeList::read(
        MountedVolume{.path = "/Volumes/Team", .isLocal = false, .mountSource = "//server/share"}, false);
    ASSERT_TRUE(share);
    EXPECT_EQ(share->kind, VolumeKind::networkShare);
    EXPECT_FALSE(share->bsdName);
}

TEST(VolumeList, GroupsByPhysicalDiskWholeDiskPartitionOrPath) {
    const std::vector<DriveVolume> volumes{
        {.name = "A", .mountPath = "/Volumes/A", .bsdName = "disk7s1", .wholeDisk = "disk7", .physicalDisk = "disk3"},
        {.name = "Share1", .mountPath = "/Volumes/S1", .physicalDisk = "same", .kind = VolumeKind::networkShare},
        {.name = "B", .mountPath = "/Volumes/B", .bsdName = "disk7s2", .wholeDisk = "disk7", .physicalDisk = "disk3"},
        {.name = "Share2", .mountPath = "/Volumes/S2", .physicalDisk = "same", .kind = VolumeKind::networkShare},
        {.name = "C", .mountPath = "/Volumes/C", .bsdName = "disk9s1"},
        {.name = "D", .mountPath = "/Volumes/D"},
    };
    const std::vector<Drive> drives = VolumeList::group(volumes);
    ASSERT_EQ(drives.size(), 5u);
    EXPECT_EQ(drives[0].id, "disk3");
    EXPECT_EQ(drives[0].name(), "A, B");
    EXPECT_EQ(drives[1].id, "/Volumes/S1");
    EXPECT_EQ(drives[2].id, "/Volumes/S2");
    EXPECT_EQ(drives[3].id, "disk9s1");
    EXPECT_EQ(drives[4].id, "/Volumes/D");
    EXPECT_TRUE(VolumeList::group({}).empty());
}

TEST(VolumeList, DrivesFromAWorldFollowFilterAndEnumerationOrder) {
    constexpr std::string_view world = R"({"volumes": [
        {"path": "/", "isRootFileSystem": true},
        {"path": "/System/Volumes/Data", "isEjectable": true},
        {"path": "/Volumes/Image", "deviceProtocol": "Disk Image", "mountSource": "/dev/disk9s1", "wholeDisk": "disk9"},
        {"path": "/Volumes/Stick", "name": "Stick", "totalCapacity": 0, "mountSource": "/dev/disk4s1", "wholeDisk": "disk4"},
        {"path": "/Volumes/Team", "isLocal": false, "mountSource": "/dev/disk5s1", "wholeDisk": "disk5"},
        {"path": "/Volumes/Broken", "unreadable": true},
        {"path": "/Volumes/Second", "mountSource": "/dev/disk4s2", "wholeDisk": "disk4", "availableCapacity": 5}
    ]})";
    const std::vector<Drive> plain = drivesOf(world);
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0].id, "disk4");
    EXPECT_EQ(plain[0].name(), "Stick, Second");
    EXPECT_EQ(plain[0].freeBytes(), 5u);

    const std::vector<Drive> all = drivesOf(world, {.diskImages = true, .networkShares = true});
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].kind(), VolumeKind::diskImage);
    EXPECT_EQ(all[1].id, "disk4");
    EXPECT_EQ(all[2].id, "/Volumes/Team");
    EXPECT_EQ(all[2].kind(), VolumeKind::networkShare);
}

TEST(World, BadWorldsAreErrorsNamingTheProblem) {
    const auto messageOf = [](std::string_view text) {
        WorldLoadResult result = parseWorld(text);
        const auto* error = std::get_if<WorldError>(&result);
        return error ? error->message : std::string("(loaded)");
    };
    EXPECT_EQ(messageOf("{"), "the world file is not valid JSON");
    EXPECT_EQ(messageOf("[]"), "world: expected an object");
    EXPECT_EQ(messageOf(R"({"volumes": {}})"), "world.volumes: expected an array");
    EXPECT_EQ(messageOf(R"({"volumes": [{"name": "x"}]})"), "volumes[0].path: missing");
    EXPECT_EQ(messageOf(R"({"volumes": [{"path": "/Volumes/x", "device": -1}]})"),
              "volumes[0].device: expected a whole number from 0 to 4294967295");
    EXPECT_EQ(messageOf(R"({"volumes": [{"path": "/Volumes/x", "isLocal": "yes"}]})"),
              "volumes[0].isLocal: expected true or false");
    EXPECT_EQ(messageOf(R"({"volumes": [{"path": "/Volumes/x", "totalCapacity": 1.5}]})"),
              "volumes[0].totalCapacity: expected a whole number from 0");
    EXPECT_EQ(messageOf(R"({"future": 1, "volumes": [{"path": "/Volumes/x", "name": null}]})"), "(loaded)");
    EXPECT_NE(loadWorld("/nonexistent/world.json").index(), 0u);
}

TEST(World, DemoListsStickCardAndContainerDrive) {
    auto system = std::make_shared<SimulatedSystem>(demoWorld());
    const std::vector<Drive> drives = VolumeList::drives(SimulatedVolumeSource(system), {});
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0].kind(), VolumeKind::externalDrive);
    EXPECT_EQ(drives[1].kind(), VolumeKind::memoryCard);
    EXPECT_EQ(drives[2].name(), "Backup, Projects");
    EXPECT_EQ(VolumeList::drives(SimulatedVolumeSource(system), {true, true}).size(), 5u);
}
