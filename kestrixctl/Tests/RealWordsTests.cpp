#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <thread>

#include <nlohmann/json.hpp>

#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "kestrixctl/Tests/RunKestrixctl.h"

using kestrixctl::testing::run;
namespace fs = std::filesystem;

namespace {

// Copies of sleep named like the Linux desktop's helpers, each keeping a file open on a
// loop-mounted image, as the real ones do.
class LinuxHelpersOnADrive : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = image.skipReason()) GTEST_SKIP() << *reason;
        std::string folderTemplate = (fs::temp_directory_path() / "kestrix-words-XXXXXX").string();
        ASSERT_NE(mkdtemp(folderTemplate.data()), nullptr);
        programs = folderTemplate;
        // No installed app's entry names these copies (Déjà Dup's names its program deja-dup):
        // the helpers go by their own names on any machine.
        setenv("XDG_DATA_HOME", (programs / "share").c_str(), 1);
        setenv("XDG_DATA_DIRS", (programs / "share").c_str(), 1);
        for (const std::string name : {"tracker-miner-fs-3", "baloo_file", "nautilus", "deja-dup"}) {
            fs::copy_file("/bin/sleep", programs / name);
            const fs::path file = fs::path(image.mountPath()) / (name + ".txt");
            std::ofstream(file) << name << '\n';
            // The shell gives the file to the helper as its standard input, then becomes it.
            children.push_back(std::make_unique<kestrix::test::ChildProcess>(std::vector<std::string>{
                "/bin/sh", "-c", "exec \"$0\" 600 < \"$1\"", (programs / name).string(), file.string()}));
            waitUntilRunning(children.back()->pid(), programs / name);
        }
    }

    void TearDown() override {
        children.clear();
        if (!programs.empty()) fs::remove_all(programs);
    }

    static void waitUntilRunning(pid_t pid, const fs::path& program) {
        const fs::path exe = "/proc/" + std::to_string(pid) + "/exe";
        for (int attempt = 0; attempt < 200; ++attempt) {
            std::error_code error;
            if (fs::read_symlink(exe, error) == program) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        FAIL() << program << " did not start";
    }

    kestrix::test::LoopDrive image{{.folderPrefix = "kestrix-words", .labelPrefix = "Words"}};
    fs::path programs;
    std::vector<std::unique_ptr<kestrix::test::ChildProcess>> children;
};

}  // namespace

TEST_F(LinuxHelpersOnADrive, CheckNamesEachHelperInLinuxWords) {
    const auto text = run({"check", image.name(), "--show-disk-images"});
    EXPECT_EQ(text.status, 1) << text.err;
    for (const std::string_view expected :
         {"Search indexer · tracker-miner-fs-3\n  The search indexer is indexing this drive so you can search it.\n"
          "  Has tracker-miner-fs-3.txt open\n",
          "Search indexer · baloo_file\n  The search indexer is indexing this drive so you can search it.\n",
          "File manager · nautilus\n  The file manager is using this drive: copying files, or a window is showing it."
          "\n  Has nautilus.txt open\n  Wait for any copy to finish and close file manager windows showing the drive.",
          "Backup tool · deja-dup\n  A backup tool is backing up to this drive, or reading from it.\n"}) {
        EXPECT_NE(text.out.find(expected), std::string::npos) << "missing:\n" << expected << "\nin:\n" << text.out;
    }
    const std::regex otherSystem("macOS|\\bMac\\b|Finder|Spotlight|Quick Look|Time Machine|Photos|Terminal|\u2318");
    EXPECT_FALSE(std::regex_search(text.out, otherSystem)) << text.out;

    // The coded form keeps the raw kinds.
    const auto coded = run({"check", image.name(), "--show-disk-images", "--json"});
    const nlohmann::json json = nlohmann::json::parse(coded.out);
    std::map<std::string, std::string> kinds;
    for (const nlohmann::json& holder : json.at("scan").at("holders")) {
        kinds[holder.at("name").get<std::string>()] = holder.at("kind").get<std::string>();
    }
    EXPECT_EQ(kinds, (std::map<std::string, std::string>{{"baloo_file", "spotlight"},
                                                         {"deja-dup", "timeMachine"},
                                                         {"nautilus", "finder"},
                                                         {"tracker-miner-fs-3", "spotlight"}}));
}
