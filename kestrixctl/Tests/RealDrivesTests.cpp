#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "KestrixKit/Linux/Mounts/MountTableVolumeSource.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Volumes/VolumeList.h"
#include "kestrixctl/Tests/RunKestrixctl.h"

using kestrixctl::testing::run;

namespace {

// An ext4 image loop-mounted at /media/kestrix-test-N/NAME on this machine, as a desktop would
// mount a disk image.
class LoopMountedImage : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = image.skipReason()) GTEST_SKIP() << *reason;
    }

    std::optional<nlohmann::json> listedVolume(const std::vector<std::string>& words) const {
        const auto result = run(words);
        EXPECT_EQ(result.status, 0) << result.err;
        for (const nlohmann::json& drive : nlohmann::json::parse(result.out)) {
            for (const nlohmann::json& volume : drive.at("volumes")) {
                if (volume.at("mountPath") == mountPath) return volume;
            }
        }
        return std::nullopt;
    }

    kestrix::test::LoopDrive image;
    const std::string name = image.name();
    const std::string mountPath = image.mountPath();
};

}  // namespace

TEST_F(LoopMountedImage, SourceReportsItsFacts) {
    struct stat status {};
    ASSERT_EQ(stat(mountPath.c_str(), &status), 0);
    const auto drives = kestrix::VolumeList::drives(kestrix::MountTableVolumeSource(), {.diskImages = true});
    const auto drive = std::find_if(drives.begin(), drives.end(), [&](const kestrix::Drive& candidate) {
        return candidate.mountPaths() == std::vector<std::string>{mountPath};
    });
    ASSERT_NE(drive, drives.end());
    const kestrix::DriveVolume& volume = drive->volumes.front();
    EXPECT_EQ(volume.fileSystem, "ext4");
    EXPECT_TRUE(volume.bsdName.value_or("").starts_with("loop")) << volume.bsdName.value_or("none");
    EXPECT_EQ(drive->id, volume.bsdName.value_or(""));
    EXPECT_EQ(volume.device, static_cast<std::uint32_t>(status.st_dev));
    EXPECT_GT(volume.totalBytes, 8u * 1024 * 1024);
    EXPECT_GT(volume.freeBytes, 0u);
}

TEST_F(LoopMountedImage, DrivesCommandShowsItOnlyWithTheFlag) {
    const std::optional<nlohmann::json> volume = listedVolume({"drives", "--show-disk-images", "--json"});
    ASSERT_TRUE(volume.has_value());
    EXPECT_EQ(volume->at("name"), name);
    EXPECT_EQ(volume->at("kind"), "diskImage");

    const auto text = run({"drives", "--show-disk-images"});
    EXPECT_NE(text.out.find(name + " — Disk image · "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find(mountPath), std::string::npos);

    EXPECT_FALSE(listedVolume({"drives", "--json"}).has_value());
    EXPECT_EQ(run({"drives"}).out.find(mountPath), std::string::npos);
}
