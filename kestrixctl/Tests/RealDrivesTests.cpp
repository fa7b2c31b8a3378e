#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "KestrixKit/Linux/Mounts/MountTableVolumeSource.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"
#include "KestrixKit/Text/ValidUTF8.h"
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

TEST_F(LoopMountedImage, ACommandStartedInsideTheDriveStepsOutOfItsWay) {
    // The shell stays in the folder while kestrixctl runs ("; true" keeps it from exec-ing it),
    // so the shell is what holds the drive.
    const std::string inside = "cd '" + mountPath + "' && ";
    const std::string held = kestrix::test::commandOutput(inside + KESTRIXCTL_PATH " check --show-disk-images " + name + "; true");
    // Named as it was started ("sh"), not after the file /bin/sh leads to (dash).
    EXPECT_NE(held.find(" · sh\n"), std::string::npos) << held;

    // Started there with nothing else in the folder, it ejects the drive.
    const std::string history = "/tmp/" + name + "-history.json";
    const std::string ejected = kestrix::test::commandOutput(inside + "exec " KESTRIXCTL_PATH " --history " + history +
                                                             " eject --show-disk-images " + name + " 2>&1");
    std::filesystem::remove(history);
    EXPECT_FALSE(image.isMounted()) << ejected;
}

// Names that are not UTF-8 (a label written by another system) reach every JSON output, repaired.
TEST(LoopMountedImageNamedInBytes, ListsAndEjectsItAsJSONAndRecordsTheEject) {
    kestrix::test::LoopDrive image{{.folderPrefix = "kestrix-bytes", .labelPrefix = "Bad\xff"}};
    if (const auto& reason = image.skipReason()) GTEST_SKIP() << *reason;
    const std::string repairedPath = kestrix::text::validUTF8(image.mountPath());

    const auto listed = run({"drives", "--show-disk-images", "--json"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(nlohmann::json::parse(listed.out).dump().find(repairedPath), std::string::npos);

    const std::string history = "/tmp/" + repairedPath.substr(repairedPath.rfind('/') + 1) + "-history.json";
    const auto ejected = run({"--history", history, "eject", image.name(), "--show-disk-images", "--json"});
    EXPECT_EQ(ejected.status, 0) << ejected.err;
    EXPECT_EQ(nlohmann::json::parse(ejected.out).at("verdict").at("case"), "ejected");
    EXPECT_FALSE(image.isMounted());
    const auto recorded = run({"--history", history, "history", "--json"});
    std::filesystem::remove(history);
    EXPECT_EQ(nlohmann::json::parse(recorded.out).at("events").size(), 1u);
}
