#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>

#include "KestrixKit/Linux/Files/HistoryFile.h"
#include "FileSupport/RegularFile.h"
#include "KestrixKit/Simulated/World.h"

using namespace kestrix;
namespace fs = std::filesystem;

namespace {

// A temporary folder with a character device like /dev/null and /dev/zero, a FIFO and a folder,
// made here so that the system's own are never at risk.
class SpecialFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kestrix-special-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
        fs::create_directory(folder / "folder");
        if (mknod((folder / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
            mknod((folder / "zero").c_str(), S_IFCHR | 0666, makedev(1, 5)) != 0) {
            GTEST_SKIP() << "making device nodes needs root";
        }
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string pathOf(const char* name) const { return (folder / name).string(); }

    fs::path folder;
};

bool isCharacterDevice(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISCHR(status.st_mode);
}

}  // namespace

TEST_F(SpecialFiles, AreNeitherReadNorMovedNorReplacedAsHistoryOrWorld) {
    for (const char* name : {"null", "zero", "fifo", "folder"}) {
        const std::string path = pathOf(name);
        const fs::file_type type = fs::status(path).type();
        // Opening the FIFO returns at once; a read would wait for a writer forever.
        const LoadedHistory loaded = loadHistory(path);
        EXPECT_EQ(loaded.history, History{});
        EXPECT_EQ(loaded.notice, path + " is not a regular file");
        const HistoryUpdate update = updateHistory(path, [](History& history) {
            history.clear();
            return true;
        });
        ASSERT_TRUE(update.saveFailure) << name;
        EXPECT_NE(update.saveFailure->find("is not a regular file"), std::string::npos) << *update.saveFailure;
        EXPECT_EQ(fs::status(path).type(), type) << name;
        EXPECT_FALSE(fs::exists(path + ".unreadable")) << name;

        const WorldLoadResult world = loadWorld(path);
        ASSERT_TRUE(std::holds_alternative<WorldError>(world)) << name;
        EXPECT_EQ(std::get<WorldError>(world).message, path + " is not a regular file");
    }
    EXPECT_TRUE(isCharacterDevice(pathOf("null")));
}

TEST_F(SpecialFiles, WorldsAreOneDocumentOfBoundedSize) {
    const std::string path = pathOf("world.json");
    std::ofstream(path, std::ios::binary) << std::string("{}\0junk", 7);
    const WorldLoadResult trailing = loadWorld(path);
    ASSERT_TRUE(std::holds_alternative<WorldError>(trailing));
    EXPECT_EQ(std::get<WorldError>(trailing).message, path + ": the world file is not valid JSON");

    // A sparse file: large on paper, refused before a byte is read.
    fs::resize_file(path, std::uintmax_t{1} << 30);
    const WorldLoadResult huge = loadWorld(path);
    ASSERT_TRUE(std::holds_alternative<WorldError>(huge));
    EXPECT_NE(std::get<WorldError>(huge).message.find("is larger than"), std::string::npos);
    EXPECT_TRUE(std::holds_alternative<filesupport::FileReadError>(filesupport::readRegularFile(path, 1024)));
}
