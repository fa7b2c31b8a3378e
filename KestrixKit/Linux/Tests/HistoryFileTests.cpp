#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "KestrixKit/Linux/Files/HistoryFile.h"
#include "KestrixKit/Linux/Files/HistoryLocation.h"
#include "KestrixKit/Linux/Files/RandomUuid.h"

using namespace kestrix;
namespace fs = std::filesystem;

namespace {

class HistoryFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kestrix-history-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    static History sampleHistory(int count) {
        History history;
        for (int index = 0; index < count; ++index) {
            history.add({randomUuid(), std::chrono::system_clock::time_point{} + std::chrono::seconds{1'700'000'000 + index},
                         "Stick", HistoryEvent::Outcome::inUse, {{"sh", HelperKind::shell}}});
        }
        return history;
    }

    fs::path folder;
};

}  // namespace

TEST_F(HistoryFileTest, SavesIntoNewFoldersAndReplacesBrokenFiles) {
    const std::string path = (folder / "data/com.orvane.kestrix/history.json").string();
    EXPECT_EQ(loadHistory(path), History{});
    const History history = sampleHistory(3);
    ASSERT_EQ(saveHistory(history, path), std::nullopt);
    EXPECT_EQ(loadHistory(path), history);
    // Nothing but the history is left in its folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "data/com.orvane.kestrix"), fs::directory_iterator()), 1);

    std::ofstream(path) << "not json";
    EXPECT_EQ(loadHistory(path), History{});
    ASSERT_EQ(saveHistory(sampleHistory(1), path), std::nullopt);
    EXPECT_EQ(loadHistory(path).events.size(), 1u);

    std::ofstream(folder / "file") << "x";
    EXPECT_TRUE(saveHistory(history, (folder / "file/history.json").string()).has_value());
    EXPECT_TRUE(saveHistory(history, folder.string()).has_value());
}

TEST_F(HistoryFileTest, AnInterruptedSaveLeavesThePreviousFileWhole) {
    const std::string path = (folder / "history.json").string();
    const History previous = sampleHistory(2);
    ASSERT_EQ(saveHistory(previous, path), std::nullopt);

    // The crash comes after the new bytes are on disk, before they replace the file.
    const auto failure = saveHistory(sampleHistory(5), path, [](const char*, const char*) {
        errno = EIO;
        return -1;
    });
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->find(path), std::string::npos) << *failure;
    EXPECT_EQ(loadHistory(path), previous);

    // A temporary file that a real crash left behind changes nothing.
    std::ofstream(folder / ".history.json.AbC123") << "{\"events\": [";
    EXPECT_EQ(loadHistory(path), previous);
    ASSERT_EQ(saveHistory(sampleHistory(4), path), std::nullopt);
    EXPECT_EQ(loadHistory(path).events.size(), 4u);
}

TEST(HistoryLocation, FollowsTheDataHomeConventions) {
    const auto location = [](std::map<std::string, std::string> variables) {
        return historyFileLocation([variables](const std::string& name) -> std::optional<std::string> {
            const auto found = variables.find(name);
            return found == variables.end() ? std::nullopt : std::optional(found->second);
        });
    };
    EXPECT_EQ(location({{"XDG_DATA_HOME", "/data/"}, {"HOME", "/home/me"}}), "/data/com.orvane.kestrix/history.json");
    EXPECT_EQ(location({{"XDG_DATA_HOME", "relative"}, {"HOME", "/home/me"}}), "/home/me/.local/share/com.orvane.kestrix/history.json");
    EXPECT_EQ(location({{"XDG_DATA_HOME", ""}, {"HOME", "/"}}), "/.local/share/com.orvane.kestrix/history.json");
    EXPECT_EQ(location({{"HOME", ""}}), std::nullopt);
}
