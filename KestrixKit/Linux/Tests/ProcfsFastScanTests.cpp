#include <gtest/gtest.h>

#include <map>

#include "KestrixKit/Linux/Processes/ProcfsFastScan.h"

using namespace kestrix;

namespace {

constexpr std::uint32_t rootDevice = 0x800001, drive = 0x700, inner = 0x32, pipes = 0xd;
const std::vector<MountEntry> mounts{{.id = 1, .mountPoint = "/", .device = rootDevice},
                                            {.id = 2, .mountPoint = "/media/Stick", .device = drive},
                                            {.id = 3, .mountPoint = "/media/Stick/inner", .device = inner},
                                            {.id = 4, .mountPoint = "/media/Sticky", .device = 0x33}};

}  // namespace

TEST(ProcfsFastScan, PlacesFilesByDeviceAndMount) {
    const ProcfsFastScan scan({.devices = {drive}, .mountPaths = {"/media/Stick/"}}, mounts);
    EXPECT_EQ(scan.place({.device = drive, .mountID = 2}), Placement::onDrive);
    EXPECT_EQ(scan.place({.device = drive, .mountID = 99}), Placement::onDrive);  // another namespace's mount
    EXPECT_EQ(scan.place({.device = 0x31, .mountID = 2}), Placement::onDrive);    // a subvolume's own device
    EXPECT_EQ(scan.place({.device = inner, .mountID = 3}), Placement::onDriveIfUnderItsPaths);
    EXPECT_EQ(scan.place({.device = inner}), Placement::onDriveIfUnderItsPaths);
    EXPECT_EQ(scan.place({.device = 0}), Placement::onDriveIfUnderItsPaths);
    // The folder beneath the mount point, a neighbour whose name begins alike, another namespace's
    // file system, the kernel's pipes: whatever their paths say.
    EXPECT_EQ(scan.place({.device = rootDevice, .mountID = 1}), Placement::offDrive);
    EXPECT_EQ(scan.place({.device = 0x33, .mountID = 4}), Placement::offDrive);
    EXPECT_EQ(scan.place({.device = 0x40, .mountID = 77}), Placement::offDrive);
    EXPECT_EQ(scan.place({.device = pipes}), Placement::offDrive);
}

TEST(ProcfsFastScan, CountsOnlyTheMountPathsWhereTheDriveIsMounted) {
    const DriveScope stick{.devices = {drive}, .mountPaths = {"/media/Stick/"}};
    std::map<std::string, FileFacts> facts{{"/media/Stick", {.device = drive, .mountID = 2}}};
    const auto factsOf = [&](const std::string& path) -> std::optional<FileFacts> {
        if (!facts.contains(path)) return std::nullopt;
        return facts.at(path);
    };
    EXPECT_EQ(mountedPartOf(stick, mounts, factsOf), stick);
    facts["/media/Stick"].mountID.reset();  // kernels that do not name the mount
    EXPECT_EQ(mountedPartOf(stick, mounts, factsOf), stick);

    // Unmounted: the folder left behind is the root file system's, even when the drive was listed
    // with that device (read from the folder after the unmount).
    const DriveScope misread{.devices = {rootDevice}, .mountPaths = {"/media/Stick"}};
    facts["/media/Stick"] = {.device = rootDevice, .mountID = 1};
    EXPECT_TRUE(mountedPartOf(misread, mounts, factsOf).isEmpty());
    facts.clear();  // the folder is gone too
    EXPECT_TRUE(mountedPartOf(stick, mounts, factsOf).isEmpty());

    // Two volumes, one of them remounted with another device meanwhile.
    facts = {{"/media/Stick", {.device = drive, .mountID = 2}}, {"/media/Sticky", {.device = 0x33, .mountID = 4}}};
    const DriveScope twoVolumes{.devices = {drive, 0x34}, .mountPaths = {"/media/Stick", "/media/Sticky"}};
    EXPECT_EQ(mountedPartOf(twoVolumes, mounts, factsOf), (DriveScope{.devices = {drive}, .mountPaths = {"/media/Stick"}}));
}
