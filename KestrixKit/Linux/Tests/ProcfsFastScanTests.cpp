#include <gtest/gtest.h>

#include "KestrixKit/Linux/Processes/ProcfsFastScan.h"

using namespace kestrix;

TEST(ProcfsFastScan, ReadsPathsOnlyWhereTheyCanLieOnTheDrive) {
    constexpr std::uint32_t rootDevice = 0x800001, drive = 0x700, subvolume = 0x31, inner = 0x32, pipes = 0xd;
    const std::vector<MountEntry> mounts{{.id = 1, .mountPoint = "/", .device = rootDevice},
                                                {.id = 2, .mountPoint = "/media/Stick", .device = drive},
                                                {.id = 3, .mountPoint = "/media/Stick/inner", .device = inner},
                                                {.id = 4, .mountPoint = "/media/Sticky", .device = 0x33}};
    const ProcfsFastScan scan({.devices = {drive}, .mountPaths = {"/media/Stick/"}}, mounts, {pipes});
    EXPECT_TRUE(scan.needsPath({.device = drive, .mountID = 2}));
    EXPECT_TRUE(scan.needsPath({.device = drive, .mountID = 99}));
    EXPECT_TRUE(scan.needsPath({.device = subvolume, .mountID = 2}));  // a subvolume's own device
    EXPECT_TRUE(scan.needsPath({.device = inner, .mountID = 3}));     // mounted inside the drive
    EXPECT_FALSE(scan.needsPath({.device = rootDevice, .mountID = 1}));
    EXPECT_FALSE(scan.needsPath({.device = 0x33, .mountID = 4}));
    // Mounts this namespace does not show, and kernels that do not name the mount.
    EXPECT_TRUE(scan.needsPath({.device = 0x40, .mountID = 77}));
    EXPECT_FALSE(scan.needsPath({.device = pipes, .mountID = 77}));
    EXPECT_TRUE(scan.needsPath({.device = rootDevice}));
    EXPECT_FALSE(scan.needsPath({.device = pipes}));

    // A mount path that is a plain folder, or where the drive is no longer mounted, and a drive
    // mounted at the root: every path can lie on the drive.
    const ProcfsFastScan folder({.devices = {drive}, .mountPaths = {"/media/Stick", "/home/me/stick"}}, mounts, {});
    EXPECT_TRUE(folder.needsPath({.device = rootDevice, .mountID = 1}));
    const ProcfsFastScan unmounted({.devices = {0x701}, .mountPaths = {"/media/Stick"}}, mounts, {});
    EXPECT_TRUE(unmounted.needsPath({.device = rootDevice, .mountID = 1}));
    const std::vector<MountEntry> rootMounts{{.id = 1, .mountPoint = "/", .device = drive},
                                                    {.id = 4, .mountPoint = "/media/Sticky", .device = 0x33}};
    const ProcfsFastScan rootDrive({.devices = {drive}, .mountPaths = {"/"}}, rootMounts, {pipes});
    EXPECT_TRUE(rootDrive.needsPath({.device = 0x33, .mountID = 4}));
}
