#include <gtest/gtest.h>

#include <map>

#include "KestrixKit/Volumes/Drive.h"
#include "KestrixKit/Volumes/DriveIdentity.h"
#include "KestrixKit/Volumes/EjectOrder.h"
#include "KestrixKit/Volumes/VolumeCoding.h"
#include "KestrixKit/Volumes/VolumeFilter.h"

using namespace kestrix;

namespace {

DriveVolume volume(std::string name, std::string path, std::uint32_t device, std::uint64_t total = 0) {
    return DriveVolume{.name = std::move(name), .mountPath = std::move(path), .device = device,
                       .totalBytes = total, .freeBytes = total / 2};
}

}  // namespace

TEST(Drive, DerivedPropertiesKeepVolumeOrder) {
    const Drive drive{.id = "disk4", .volumes = {volume("Photos", "/Volumes/Photos", 7, 100),
                                                 volume("Backup", "/Volumes/Backup", 9, 50)}};
    EXPECT_EQ(drive.name(), "Photos, Backup");
    EXPECT_EQ(drive.mountPaths(), (std::vector<std::string>{"/Volumes/Photos", "/Volumes/Backup"}));
    EXPECT_EQ(drive.devices(), (std::set<std::uint32_t>{7, 9}));
    EXPECT_EQ(drive.totalBytes(), 150u);
    EXPECT_EQ(drive.freeBytes(), 75u);

    const Drive empty{.id = "x", .volumes = {}};
    EXPECT_EQ(empty.name(), "");
    EXPECT_EQ(empty.kind(), VolumeKind::externalDrive);
    EXPECT_TRUE(empty.devices().empty());
    EXPECT_EQ(empty.totalBytes(), 0u);
}

TEST(Drive, SizesCountEachFileSystemOnceHoweverOftenItIsMounted) {
    // The same file system (one device) at two mount points, as a bind mount shows it.
    const Drive bound{.id = "sdb", .volumes = {volume("Photos", "/media/me/Photos", 7, 100),
                                               volume("Photos", "/media/me/Again", 7, 100),
                                               volume("Backup", "/media/me/Backup", 9, 50)}};
    EXPECT_EQ(bound.totalBytes(), 150u);
    EXPECT_EQ(bound.freeBytes(), 75u);
    // Volumes of no known device are told apart by nothing, so each counts.
    const Drive unknown{.id = "disk4", .volumes = {volume("A", "/Volumes/A", 0, 10), volume("B", "/Volumes/B", 0, 20)}};
    EXPECT_EQ(unknown.totalBytes(), 30u);
}

TEST(Drive, MatchesWholeNamesIgnoringCaseDiacriticsAndBlanks) {
    const Drive drive{.id = "disk4", .volumes = {volume("Backup", "/Volumes/Backup", 1),
                                                 volume("Data", "/Volumes/Data", 2)}};
    EXPECT_TRUE(drive.matches("  backup \n"));
    EXPECT_TRUE(drive.matches("BÄCKUP"));
    EXPECT_TRUE(drive.matches("backup, data"));
    EXPECT_FALSE(drive.matches("Back"));
    EXPECT_FALSE(drive.matches("disk4"));
    EXPECT_FALSE(drive.matches(""));
    EXPECT_FALSE(drive.matches(" \t\n"));

    const Drive photos{.id = "disk5", .volumes = {volume("Phötos", "/Volumes/Photos", 3)}};
    EXPECT_TRUE(photos.matches("photos"));
    EXPECT_TRUE(photos.matches("PHOTOS\u00A0"));  // a no-break space is white space too
}

TEST(Drive, VolumeIdentityIsTheMountPathWhileEqualityCoversEveryField) {
    DriveVolume a = volume("Photos", "/Volumes/Photos", 1, 100);
    DriveVolume b = a;
    b.freeBytes = 1;
    EXPECT_NE(a, b);
    EXPECT_EQ(a.id(), b.id());
}

TEST(VolumeCoding, RoundTripsWithTheFieldNamesAndLeavesAbsentNamesOut) {
    DriveVolume withDisks = volume("Photos", "/Volumes/Photos", 16777234, 64000000000);
    withDisks.bsdName = "disk4s1";
    withDisks.wholeDisk = "disk4";
    withDisks.physicalDisk = "disk4";
    withDisks.kind = VolumeKind::memoryCard;
    withDisks.fileSystem = "exfat";
    const Drive drive{.id = "disk4", .volumes = {withDisks, volume("Share", "/Volumes/Share", 2)}};

    const nlohmann::json json = drive;
    EXPECT_EQ(json.at("volumes")[0].at("kind"), "memoryCard");
    EXPECT_EQ(json.at("volumes")[0].size(), 11u);
    EXPECT_FALSE(json.at("volumes")[1].contains("bsdName"));
    EXPECT_EQ(json.at("volumes")[1].size(), 8u);
    EXPECT_EQ(json.get<Drive>(), drive);

    nlohmann::json badKind = json.at("volumes")[0];
    badKind["kind"] = "floppy";
    EXPECT_THROW(badKind.get<DriveVolume>(), nlohmann::json::exception);
    nlohmann::json missing = json.at("volumes")[0];
    missing.erase("fileSystem");
    EXPECT_THROW(missing.get<DriveVolume>(), nlohmann::json::exception);

    const VolumeFilter filter{.diskImages = true, .networkShares = false};
    EXPECT_EQ(nlohmann::json(filter).get<VolumeFilter>(), filter);
}

TEST(VolumeFilter, HidesOnlyTheOptionalKinds) {
    const VolumeFilter none{};
    EXPECT_FALSE(none.allows(VolumeKind::diskImage));
    EXPECT_FALSE(none.allows(VolumeKind::networkShare));
    EXPECT_TRUE(none.allows(VolumeKind::externalDrive));
    EXPECT_TRUE(none.allows(VolumeKind::memoryCard));
    EXPECT_TRUE(none.allows(VolumeKind::optical));
    const VolumeFilter all{.diskImages = true, .networkShares = true};
    EXPECT_TRUE(all.allows(VolumeKind::diskImage));
    EXPECT_TRUE(all.allows(VolumeKind::networkShare));
}

TEST(Drive, IsTheSameDriveOnlyWhileEveryVolumeShowsTheIdentityItWasListedWith) {
    DriveVolume first = volume("Charlie", "/media/me/Charlie", 7);
    first.identity = "diskseq:41";
    const Drive charlie{.id = "loop5", .volumes = {first, volume("Share", "/media/me/Share", 9)}};
    std::map<std::string, std::optional<std::string>> now{{"/media/me/Charlie", "diskseq:41"}};
    const auto reader = [&](const DriveVolume& listed) { return now[listed.mountPath]; };
    // The share has no identity to compare: it cannot tell, and counts as unchanged.
    EXPECT_TRUE(isSameDrive(charlie, reader));
    now["/media/me/Charlie"] = "diskseq:42";
    EXPECT_FALSE(isSameDrive(charlie, reader));
    now["/media/me/Charlie"] = std::nullopt;
    EXPECT_FALSE(isSameDrive(charlie, reader));
}

TEST(Drive, EjectOrderTakesADriveMountedInsideAnotherFirstAndKeepsTheRest) {
    const auto drive = [](std::string id, std::vector<std::string> paths) {
        Drive made{.id = std::move(id), .volumes = {}};
        for (std::string& path : paths) made.volumes.push_back(volume(made.id, std::move(path), 0));
        return made;
    };
    const Drive outer = drive("outer", {"/media/me/Outer/"});
    const Drive inner = drive("inner", {"/media/me/Inner", "/media/me/Outer/inside"});
    const Drive deepest = drive("deepest", {"/media/me/Outer/inside/more"});
    const Drive beside = drive("beside", {"/media/me/Outer2"});
    const auto ids = [](const std::vector<Drive>& drives) {
        std::vector<std::string> found;
        for (const Drive& each : drives) found.push_back(each.id);
        return found;
    };
    EXPECT_EQ(ids(ejectOrder({beside, outer, inner, deepest})),
              (std::vector<std::string>{"beside", "deepest", "inner", "outer"}));
    EXPECT_EQ(ids(ejectOrder({outer, beside})), (std::vector<std::string>{"outer", "beside"}));
}

TEST(Drive, EjectOrderTakesADiskImageBeforeTheDriveItsFileLiesOn) {
    const auto drive = [](std::string id, std::string path, std::optional<std::string> imageFile = std::nullopt) {
        Drive made{.id = std::move(id), .volumes = {volume("Volume", std::move(path), 0)}};
        made.volumes[0].imageFile = std::move(imageFile);
        return made;
    };
    const Drive stick = drive("stick", "/media/me/Stick");
    // Mounted elsewhere, but its file is on the stick; an image of a file on the other stick,
    // whose name begins the same, stays where it is.
    const Drive image = drive("image", "/media/me/Photos", "/media/me/Stick/backups/photos.img");
    const Drive imageInImage = drive("nested", "/media/me/Nested", "/media/me/Photos/nested.img");
    const Drive stick2 = drive("stick2", "/media/me/Stick2");
    const Drive beside = drive("beside", "/media/me/Other", "/media/me/Stick2.img");
    const auto ids = [](const std::vector<Drive>& drives) {
        std::vector<std::string> found;
        for (const Drive& each : drives) found.push_back(each.id);
        return found;
    };
    EXPECT_EQ(ids(ejectOrder({stick, stick2, image, beside, imageInImage})),
              (std::vector<std::string>{"stick2", "beside", "nested", "image", "stick"}));
}
