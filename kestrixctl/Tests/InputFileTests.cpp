#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "kestrixctl/Tests/RunKestrixctl.h"
#include "kestrixctl/Tests/TestWorlds.h"

using namespace kestrixctl::testing;
namespace fs = std::filesystem;

namespace {

const std::string emptyWorld = KESTRIXCTL_TEST_DATA "/empty-world.json";

// A temporary folder with a FIFO, a folder and, as root, device nodes like /dev/null and
// /dev/zero: the system's own are never given to the command under test.
class InputFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kestrixctl-inputs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
        fs::create_directory(folder / "folder");
        specials = {"fifo", "folder"};
        if (mknod((folder / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
            mknod((folder / "zero").c_str(), S_IFCHR | 0666, makedev(1, 5)) == 0) {
            specials.insert(specials.end(), {"null", "zero"});
        }
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
    std::vector<std::string> specials;
};

}  // namespace

TEST_F(InputFiles, SpecialFilesAreRefusedAsHistoryOrWorldAndLeftAsTheyAre) {
    for (const std::string& name : specials) {
        const std::string path = (folder / name).string();
        const fs::file_type type = fs::status(path).type();
        // A FIFO would make a plain open wait for a writer, and the test with it.
        const auto history = run({"--world", emptyWorld, "--history", path, "history", "--clear"});
        EXPECT_EQ(history.status, 2) << name;
        EXPECT_EQ(history.err, "kestrixctl: --history: " + path + " is not a regular file\n");
        const auto world = run({"--world", path, "drives"});
        EXPECT_EQ(world.status, 2) << name;
        EXPECT_EQ(world.err, "kestrixctl: " + path + " is not a regular file\n");
        EXPECT_EQ(fs::status(path).type(), type) << name;
        EXPECT_FALSE(fs::exists(path + ".lock")) << name;
    }
}

TEST_F(InputFiles, RelativePathsMeanTheStartingFolderAlthoughTheCommandLeavesIt) {
    writeWorld((folder / "world.json").string(), {{"volumes", {usbVolume("Stick", "/media/Stick", 2065, "sdb")}}});
    const fs::path started = fs::current_path();
    fs::current_path(folder);
    const auto eject = run({"--world", "world.json", "--history", "sub/history.json", "eject", "Stick"});
    fs::current_path(started);
    EXPECT_EQ(eject.status, 0) << eject.err;
    EXPECT_TRUE(fs::is_regular_file(folder / "sub/history.json"));
}
