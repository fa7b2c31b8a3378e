#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "KestrixKit/History/HistoryCoding.h"
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

TEST_F(HistoryFileTest, SavesIntoNewFolders) {
    const std::string path = (folder / "data/com.orvane.kestrix/history.json").string();
    EXPECT_EQ(loadHistory(path), LoadedHistory{});
    const History history = sampleHistory(3);
    ASSERT_EQ(saveHistory(history, path), std::nullopt);
    EXPECT_EQ(loadHistory(path), LoadedHistory{history});
    // Nothing but the history is left in its folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "data/com.orvane.kestrix"), fs::directory_iterator()), 1);

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
    EXPECT_EQ(loadHistory(path).history, previous);

    // A temporary file that a real crash left behind changes nothing.
    std::ofstream(folder / ".history.json.AbC123") << "{\"events\": [";
    EXPECT_EQ(loadHistory(path).history, previous);
    ASSERT_EQ(saveHistory(sampleHistory(4), path), std::nullopt);
    EXPECT_EQ(loadHistory(path).history.events.size(), 4u);
}

TEST_F(HistoryFileTest, AnUnreadableFileIsKeptAsideBeforeANewHistoryBegins) {
    const std::string path = (folder / "history.json").string();
    const std::string kept = path + ".unreadable";
    const std::string valid = encodeHistory(sampleHistory(1));
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string bytes = valid;
        return bytes.replace(bytes.find(from), from.size(), to);
    };
    // Cut short, an outcome this version does not know, a date with a fraction of a second.
    for (const std::string& bytes : {valid.substr(0, valid.size() / 2), replaced("\"inUse\"", "\"lost\""),
                                     replaced("Z\"", ".5Z\""), valid + std::string(1, '\0') + "junk"}) {
        std::ofstream(path, std::ios::binary) << bytes;
        const LoadedHistory loaded = loadHistory(path);
        EXPECT_EQ(loaded.history, History{});
        ASSERT_TRUE(loaded.notice) << bytes;
        EXPECT_NE(loaded.notice->find("kept as " + kept), std::string::npos) << *loaded.notice;
        // The newest unreadable file is the one kept; the notice comes once, as the file is gone.
        EXPECT_FALSE(fs::exists(path));
        std::ifstream copy(kept, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), bytes);
        EXPECT_EQ(loadHistory(path), LoadedHistory{});
    }
}

TEST_F(HistoryFileTest, UpdatesAtTheSameTimeKeepEveryEvent) {
    const std::string path = (folder / "history.json").string();
    std::vector<std::thread> writers;
    for (int writer = 0; writer < 8; ++writer) {
        writers.emplace_back([&] {
            for (int round = 0; round < 10; ++round) {
                const HistoryUpdate update = updateHistory(path, [](History& history) {
                    history.add(sampleHistory(1).events.front());
                    return true;
                });
                EXPECT_EQ(update.saveFailure, std::nullopt);
            }
        });
    }
    for (std::thread& writer : writers) writer.join();
    EXPECT_EQ(loadHistory(path).history.events.size(), 80u);
}

TEST_F(HistoryFileTest, ASaveRemovesWhatKilledSavesLeftAndNothingElse) {
    const std::string path = (folder / "history.json").string();
    for (const char* name : {".history.json.AbC123", ".history.json.x", ".history.json.AbC1234", ".other.json.AbC123"}) {
        std::ofstream(folder / name) << "{\"events\": [";
    }
    // Looking is not saving: nothing is removed.
    EXPECT_EQ(updateHistory(path, [](History&) { return false; }).loaded, LoadedHistory{});
    EXPECT_TRUE(fs::exists(folder / ".history.json.AbC123"));

    EXPECT_EQ(updateHistory(path, [](History& history) {
                  history = sampleHistory(2);
                  return true;
              }).saveFailure,
              std::nullopt);
    EXPECT_FALSE(fs::exists(folder / ".history.json.AbC123"));
    for (const char* name : {".history.json.x", ".history.json.AbC1234", ".other.json.AbC123", "history.json.lock"}) {
        EXPECT_TRUE(fs::exists(folder / name)) << name;
    }
    EXPECT_EQ(loadHistory(path).history.events.size(), 2u);
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
