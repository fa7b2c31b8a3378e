#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>

#include "KestrixKit/Linux/MountTableVolumeSource.h"
#include "KestrixKit/Volumes/VolumeList.h"
#include "kestrixctl/Tests/RunKestrixctl.h"

namespace fs = std::filesystem;
using kestrixctl::testing::run;

namespace {

bool runQuietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

std::string randomSuffix() {
    std::random_device device;
    return std::to_string(std::uniform_int_distribution<unsigned>(100000, 999999)(device));
}

// An ext4 image loop-mounted at /media/kestrix-test-N/NAME on this machine, as a desktop would
// mount a disk image. Names are unique so that parallel runs do not meet.
class LoopMountedImage : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "loop-mounting an image needs root";
        const std::string suffix = randomSuffix();
        name = "Kestrix" + suffix;
        image = "/tmp/kestrix-test-" + suffix + ".img";
        folder = "/media/kestrix-test-" + suffix;
        mountPath = (folder / name).string();
        if (!runQuietly("mkdir -p '" + mountPath + "'") || !runQuietly("truncate -s 16M " + image.string()) ||
            !runQuietly("mkfs.ext4 -q -F -L " + name + " " + image.string())) {
            GTEST_SKIP() << "cannot prepare an ext4 image at " << mountPath << " (mkfs.ext4 missing or /media read-only)";
        }
        mounted = runQuietly("mount -o loop " + image.string() + " '" + mountPath + "'");
        if (!mounted) GTEST_SKIP() << "this machine cannot loop-mount an image (no loop devices or no mount rights)";
    }

    void TearDown() override {
        if (mounted) runQuietly("umount '" + mountPath + "'");
        // mount -o loop detaches on unmount; this catches a device left behind by a failed unmount.
        if (!image.empty()) runQuietly("losetup -j " + image.string() + " -n -O NAME | xargs -r losetup -d");
        std::error_code error;
        fs::remove(image, error);
        // Never recursive: should the unmount have failed, the image's files stay untouched.
        fs::remove(mountPath, error);
        fs::remove(folder, error);
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

    std::string name;
    fs::path image;
    fs::path folder;
    std::string mountPath;
    bool mounted = false;
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
