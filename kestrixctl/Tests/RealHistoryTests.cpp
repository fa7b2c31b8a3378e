#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "kestrixctl/Tests/RunKestrixctl.h"

namespace fs = std::filesystem;
using kestrixctl::testing::run;

extern char** environ;

namespace {

bool runQuietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// A shell sitting in a folder, in a process group of its own so that it ends with its children.
class ShellInFolder {
public:
    explicit ShellInFolder(const std::string& folder) {
        // The trailing ":" keeps the shell itself alive rather than replaced by sleep.
        std::string script = "cd '" + folder + "' && sleep 60; :";
        std::vector<std::string> words{"/bin/sh", "-c", script};
        std::vector<char*> argv;
        for (auto& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        if (posix_spawn(&pid_, argv[0], nullptr, &attributes, argv.data(), environ) != 0) pid_ = -1;
        posix_spawnattr_destroy(&attributes);
        // Wait until it stands in the folder.
        for (int attempt = 0; attempt < 100 && pid_ > 0; ++attempt) {
            std::error_code error;
            if (fs::read_symlink("/proc/" + std::to_string(pid_) + "/cwd", error) == fs::path(folder)) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~ShellInFolder() { end(); }

    bool started() const { return pid_ > 0; }
    void end() {
        if (pid_ <= 0) return;
        kill(-pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

class RealHistory : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "loop-mounting an image needs root";
        const auto probe = run({"eject"});
        if (probe.err.find("unknown command") != std::string::npos) GTEST_SKIP() << "kestrixctl has no eject command yet";
        std::random_device device;
        const std::string suffix = std::to_string(std::uniform_int_distribution<unsigned>(100000, 999999)(device));
        name = "KestrixHistory" + suffix;
        image = "/tmp/kestrix-history-" + suffix + ".img";
        folder = "/media/kestrix-history-" + suffix;
        mountPath = (folder / name).string();
        historyFile = "/tmp/kestrix-history-" + suffix + ".json";
        std::error_code error;
        fs::create_directories(mountPath, error);
        if (error) GTEST_SKIP() << "cannot create " << mountPath << ": " << error.message();
        if (!runQuietly("truncate -s 16M " + image.string()) ||
            !runQuietly("mkfs.ext4 -q -F -L " + name + " " + image.string()) ||
            !runQuietly("mount -o loop " + image.string() + " '" + mountPath + "'")) {
            GTEST_SKIP() << "this machine cannot make and loop-mount an ext4 image";
        }
    }

    void TearDown() override {
        if (!mountPath.empty()) runQuietly("umount '" + mountPath + "'");
        if (!image.empty()) runQuietly("losetup -j " + image.string() + " -n -O NAME | xargs -r losetup -d");
        std::error_code error;
        for (const fs::path& path : {image, fs::path(historyFile), fs::path(mountPath), folder}) fs::remove(path, error);
    }

    std::string name;
    fs::path image;
    fs::path folder;
    std::string mountPath;
    std::string historyFile;
};

}  // namespace

TEST_F(RealHistory, ARefusedThenASuccessfulEjectNameTheShellAsRepeatOffender) {
    ShellInFolder shell(mountPath);
    ASSERT_TRUE(shell.started());
    const auto refused = run({"--history", historyFile, "eject", name, "--show-disk-images"});
    EXPECT_EQ(refused.status, 1) << refused.out << refused.err;
    shell.end();
    const auto ejected = run({"--history", historyFile, "eject", name, "--show-disk-images"});
    EXPECT_EQ(ejected.status, 0) << ejected.out << ejected.err;

    const auto history = run({"--history", historyFile, "history"});
    ASSERT_EQ(history.status, 0) << history.err;
    EXPECT_NE(history.out.find("Eject attempts: 2\nBlocked: 1\n"), std::string::npos) << history.out;
    // Holders go by their executable's name: "dash" where /bin/sh is dash.
    const std::string shellName = fs::canonical("/bin/sh").filename().string();
    EXPECT_NE(history.out.find("  " + shellName + " — Blocked 1 time\n"), std::string::npos) << history.out;
    const auto ejectedLine = history.out.find("  " + name + " — Ejected — ");
    const auto refusedLine = history.out.find("  " + name + " — In use: ");
    EXPECT_NE(ejectedLine, std::string::npos) << history.out;
    EXPECT_NE(refusedLine, std::string::npos) << history.out;
    EXPECT_LT(ejectedLine, refusedLine);

    const auto json = nlohmann::json::parse(run({"--history", historyFile, "history", "--json"}).out);
    const auto& offenders = json.at("offenders");
    EXPECT_TRUE(std::any_of(offenders.begin(), offenders.end(), [&](const nlohmann::json& offender) {
        return offender.at("name") == shellName && offender.at("kind") == "shell" && offender.at("count") == 1;
    })) << offenders;
}
