#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "kestrixctl/Tests/RunKestrixctl.h"
#include "kestrixctl/Tests/TestWorlds.h"

using kestrixctl::testing::run;

namespace {

const std::string world = KESTRIXCTL_TEST_DATA "/holders-world.json";

}  // namespace

TEST(CheckCommand, ShowsEachHolderAsItsRow) {
    const auto result = run({"--world", world, "check", "data"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out,
              "Preview · Writing\n"
              "  Preview is saving to a file on this drive.\n"
              "  Has a.jpg open\n"
              "  Save your work and quit it, or close the file.\n"
              "  Actions: Quit, Show\n"
              "Terminal shell · -zsh\n"
              "  A Terminal window is open in a folder on this drive.\n"
              "  Working in src\n"
              "  In that window, type cd ~ and press Return, or close the window.\n"
              "  Actions: End, Wait\n"
              "PID 700\n"
              "  PID 700, a command-line program, has a file open on this drive.\n"
              "  Has d open\n"
              "  Stop it (Control-C in its Terminal window), or end it from here.\n"
              "  Actions: Wait\n"
              "Spotlight · mdworker_shared\n"
              "  Spotlight is indexing this drive so you can search it.\n"
              "  Has c.pdf open\n"
              "  It usually lets go in a few seconds, so Kestrix tries again for you. For a drive you eject often, "
              "add it to Spotlight\u2019s Search Privacy list in System Settings.\n"
              "  Actions: Wait\n"
              "5 processes checked, 1 hidden, quick scan.\n");
}

TEST(CheckCommand, GoesDeepWhenNothingHoldsTheDrive) {
    const auto result = run({"--world", world, "check", "Empty"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("Still reading movie.mov"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("deep scan."), std::string::npos);

    const auto demo = run({"--demo", "check", "Installer", "--show-disk-images"});
    EXPECT_EQ(demo.status, 0);
    EXPECT_NE(demo.out.find("ready to eject"), std::string::npos) << demo.out;
}

TEST(CheckCommand, PrintsJSONWithTheRowTexts) {
    const auto result = run({"--world", world, "check", "Data", "--json"});
    ASSERT_EQ(result.status, 1) << result.err;
    const nlohmann::json json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json.at("drive").at("id"), "disk4");
    const nlohmann::json& scan = json.at("scan");
    EXPECT_EQ(scan.at("checked"), 5);
    EXPECT_EQ(scan.at("hidden"), 1);
    EXPECT_EQ(scan.at("deep"), false);
    EXPECT_TRUE(scan.at("seconds").is_number());
    const nlohmann::json& preview = scan.at("holders").at(0);
    EXPECT_EQ(preview.at("appBundlePath"), "/Applications/Preview.app");
    EXPECT_EQ(preview.at("app").at("bundleID"), "com.apple.Preview");
    EXPECT_EQ(preview.at("holds").size(), 2u);

    const auto deep = run({"--world", world, "check", "Data", "--json", "--deep"});
    EXPECT_EQ(nlohmann::json::parse(deep.out).at("scan").at("deep"), true);
    EXPECT_EQ(preview.at("holdLines"), (nlohmann::json{"Has a.jpg open", "Writing to b.txt"}));
    EXPECT_EQ(preview.at("actions"), (nlohmann::json{"quitApp", "showApp"}));
    EXPECT_EQ(preview.at("label"), "App");
    EXPECT_EQ(preview.at("symbol"), "app.fill");
    const nlohmann::json& unreadable = scan.at("holders").at(2);
    EXPECT_EQ(unreadable.at("uid"), 0);
    EXPECT_FALSE(unreadable.contains("executablePath"));
    EXPECT_EQ(unreadable.at("kind"), "commandLine");
}

TEST(CheckCommand, AHiddenDriveIsSaidToBeHiddenWithTheOptionThatShowsIt) {
    const auto image = run({"--demo", "check", "installer"});
    EXPECT_EQ(image.status, 1);
    EXPECT_EQ(image.err, "Installer is a disk image, and disk images are hidden: add --show-disk-images.\n");
    EXPECT_EQ(run({"--demo", "check", "Installer", "--show-disk-images"}).err, "");
    const auto share = run({"--demo", "eject", "Team", "--show-disk-images"});
    EXPECT_EQ(share.status, 1);
    EXPECT_EQ(share.err, "Team is a network share, and network shares are hidden: add --show-network-shares.\n");
}

TEST(CheckCommand, RejectsUnknownDrivesAndBadArguments) {
    const auto missing = run({"--world", world, "check", "Nope"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "No drive named Nope is connected.\n");
    EXPECT_TRUE(missing.out.empty());
    EXPECT_EQ(run({"--world", world, "check"}).status, 2);
    EXPECT_EQ(run({"--world", world, "check", "Data", "extra"}).status, 2);
}

TEST(CheckCommand, AWorldsKernelHoldersAreRowsOfTheirOwnAndKeepTheDriveFromReady) {
    nlohmann::json volume = kestrixctl::testing::usbVolume("KHA", "/media/KHA", 2049, "sdb");
    volume["kernelHolders"] = {{{"kind", "diskImage"}, {"name", "/media/KHA/disk.img"}, {"device", "/dev/loop7"}},
                               {{"kind", "mountNamespace"}, {"name", "Files"}, {"pid", 40}, {"unit", "colord.service"}}};
    const std::string path = "/tmp/kestrix-kernel-world-" + std::to_string(getpid()) + ".json";
    kestrixctl::testing::writeWorld(path, {{"words", "linux"}, {"volumes", {volume}}});
    const auto text = run({"--world", path, "check", "KHA"});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out,
              "Disk image · /media/KHA/disk.img\n"
              "  The disk image /media/KHA/disk.img on this drive is attached as /dev/loop7.\n"
              "  Detach disk.img first (udisksctl loop-delete -b /dev/loop7).\n"
              "Another mount namespace · Files\n"
              "  Files keeps this drive mounted in a mount namespace of its own, without any file open.\n"
              "  Restart colord.service (systemctl restart colord.service, as an administrator).\n"
              "0 processes checked, 0 hidden, deep scan.\n");
    const auto json = nlohmann::json::parse(run({"--world", path, "check", "KHA", "--json"}).out);
    EXPECT_EQ(json.at("scan").at("kernelHolders").at(1).at("kind"), "mountNamespace");
    EXPECT_EQ(json.at("scan").at("kernelHolders").at(1).at("label"), "Another mount namespace");

    // A world that gets a holder wrong is refused, not half read.
    volume["kernelHolders"] = {{{"kind", "ghost"}, {"name", "x"}}};
    kestrixctl::testing::writeWorld(path, {{"volumes", {volume}}});
    EXPECT_EQ(run({"--world", path, "check", "KHA"}).status, 2);
    std::remove(path.c_str());
}
