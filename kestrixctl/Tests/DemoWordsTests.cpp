#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include <unistd.h>

#include "kestrixctl/Tests/RunKestrixctl.h"

using kestrixctl::testing::run;

namespace {

// The other system's names, places and commands that a Linux user must never read.
std::vector<std::string> otherSystemWords(const std::string& text) {
    static const std::regex words(
        "macOS|\\bMac\\b|Finder|Spotlight|Quick Look|Time Machine|Photos|App Store|Terminal|/Volumes|tmutil|"
        "Preview|\u2318|\u2325|\u2303");
    std::vector<std::string> found;
    for (auto match = std::sregex_iterator(text.begin(), text.end(), words); match != std::sregex_iterator(); ++match) {
        found.push_back(match->str());
    }
    return found;
}

class TemporaryFolder {
public:
    TemporaryFolder()
        : path_(std::filesystem::temp_directory_path() / ("kestrixctl-words-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace

TEST(DemoWords, TheDemoIsALinuxDesktopInEveryCommand) {
    TemporaryFolder folder;
    const std::string history = folder.file("history.json");
    const std::vector<std::vector<std::string>> commands{
        {"--demo", "drives", "--show-disk-images", "--show-network-shares"},
        {"--demo", "check", "Holiday"},
        {"--demo", "check", "CAMERA"},
        {"--demo", "check", "Backup"},
        {"--demo", "check", "Team", "--show-network-shares"},
        {"--demo", "--trace", "--history", history, "eject-all"},
        {"--demo", "--trace", "--history", history, "quit-and-eject", "Holiday"},
        {"--demo", "--history", history, "history"},
    };
    for (const std::string language : {"en", "es"}) {
        ::setenv("LANGUAGE", language.c_str(), 1);
        for (const auto& words : commands) {
            const auto result = run(words);
            EXPECT_LT(result.status, 2) << words[1] << ": " << result.err;
            EXPECT_EQ(otherSystemWords(result.out + result.err), std::vector<std::string>{})
                << words[1] << " " << words.back() << "\n" << result.out << result.err;
        }
    }
    ::unsetenv("LANGUAGE");
    const auto drives = run({"--demo", "drives"});
    EXPECT_NE(drives.out.find("Holiday \u2014 External drive \u00b7 64 GB, 12 GB free \u00b7 /media/alex/Holiday"),
              std::string::npos)
        << drives.out;
    const auto backup = run({"--demo", "check", "Backup"});
    EXPECT_NE(backup.out.find("Search indexer"), std::string::npos) << backup.out;
    // Once Text Editor has quit, the eject asks whether a backup runs to the stick.
    const auto quit = run({"--demo", "--trace", "quit-and-eject", "Holiday"});
    EXPECT_NE(quit.err.find("backups status"), std::string::npos) << quit.err;
}

TEST(DemoWords, AWorldChoosesItsWordsAndKeepsTheBaseTextsWithoutTheField) {
    TemporaryFolder folder;
    std::ifstream original(KESTRIXCTL_TEST_DATA "/holders-world.json");
    nlohmann::json world = nlohmann::json::parse(original);
    const auto checked = [&](const std::string& name) {
        std::ofstream(folder.file(name)) << world.dump();
        return run({"--world", folder.file(name), "check", "data"});
    };
    const auto documentWords = checked("document.json");
    EXPECT_NE(documentWords.out.find("A Terminal window is open in a folder on this drive."), std::string::npos)
        << documentWords.out;
    EXPECT_NE(documentWords.out.find("Spotlight"), std::string::npos);
    world["words"] = "linux";
    const auto linuxWords = checked("linux.json");
    EXPECT_NE(linuxWords.out.find("A terminal window is open in a folder on this drive."), std::string::npos)
        << linuxWords.out;
    for (const char* baseWord : {"Spotlight", "Terminal", "macOS"}) {
        EXPECT_EQ(linuxWords.out.find(baseWord), std::string::npos) << baseWord << "\n" << linuxWords.out;
    }
    world["words"] = "klingon";
    EXPECT_EQ(checked("wrong.json").status, 2);
}
