#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "FileSupport/AtomicFile.h"
#include "FileSupport/XdgFolder.h"

namespace fs = std::filesystem;
using filesupport::xdgFolder;

TEST(XdgFolder, AbsoluteVariableThenHomeSubfolderElseNothing) {
    EXPECT_EQ(xdgFolder("/x/data/", "/home/u", ".local/share"), "/x/data");
    EXPECT_EQ(xdgFolder("relative", "/home/u/", ".cache"), "/home/u/.cache");
    EXPECT_EQ(xdgFolder("", "/", ".cache"), "/.cache");
    EXPECT_EQ(xdgFolder("///", std::nullopt, ".cache"), "/");
    EXPECT_EQ(xdgFolder(std::nullopt, "home", ".cache"), std::nullopt);
    EXPECT_EQ(xdgFolder(std::nullopt, std::nullopt, ".cache"), std::nullopt);
}

TEST(AtomicFile, WritesWholeFilesAndLeavesTheOldOneWhenReplacingFails) {
    const fs::path folder = fs::temp_directory_path() / ("filesupport-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    const fs::path target = folder / "nested" / "file.txt";
    auto contents = [&] {
        std::ifstream in(target);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    };

    EXPECT_EQ(filesupport::writeFileAtomically(target.string(), "first"), std::nullopt);
    EXPECT_EQ(contents(), "first");
    const auto failure = filesupport::writeFileAtomically(target.string(), "second", [](const char*, const char*) {
        errno = EIO;
        return -1;
    });
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->find(target.string()), std::string::npos);
    EXPECT_EQ(contents(), "first");
    EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), fs::directory_iterator{}), 1);
    fs::remove_all(folder);
}
