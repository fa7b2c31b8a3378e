#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "kestrixctl/Tests/RunKestrixctl.h"

namespace fs = std::filesystem;
using kestrixctl::testing::run;

namespace {

bool runQuietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// An ext4 image loop-mounted at /media/kestrix-history-N/NAME, as a desktop mounts a disk image.
class RealHistory : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "loop-mounting an image needs root";
        if (run({"eject"}).err.find("unknown command") != std::string::npos) GTEST_SKIP() << "no eject command yet";
        const std::string suffix = std::to_string(std::uniform_int_distribution<unsigned>(100000, 999999)(random));
        name = "KestrixHistory" + suffix;
        image = "/tmp/kestrix-history-" + suffix + ".img";
        folder = "/media/kestrix-history-" + suffix;
        mountPath = (folder / name).string();
        historyFile = "/tmp/kestrix-history-" + suffix + ".json";
        std::error_code error;
        fs::create_directories(mountPath, error);
        if (error || !runQuietly("truncate -s 16M " + image + " && mkfs.ext4 -q -F -L " + name + " " + image) ||
            !runQuietly("mount -o loop " + image + " '" + mountPath + "'")) {
            GTEST_SKIP() << "this machine cannot make and loop-mount an ext4 image";
        }
    }

    void TearDown() override {
        if (shell > 0) endShell();
        if (name.empty()) return;
        runQuietly("umount '" + mountPath + "'");
        runQuietly("losetup -j " + image + " -n -O NAME | xargs -r losetup -d");
        std::error_code error;
        // Never recursive: should the unmount have failed, the image's files stay untouched.
        for (const fs::path& path : {fs::path(image), fs::path(historyFile), fs::path(mountPath), folder}) fs::remove(path, error);
    }

    // sh sitting in the mounted folder, in a process group of its own; ":" keeps it from exec-ing sleep.
    void startShell() {
        shell = fork();
        if (shell == 0) {
            setpgid(0, 0);
            if (chdir(mountPath.c_str()) == 0) execl("/bin/sh", "sh", "-c", "sleep 60; :", static_cast<char*>(nullptr));
            _exit(127);
        }
        // Until it has become the shell, the child goes by this test's name.
        for (int attempt = 0; attempt < 200 && fs::read_symlink("/proc/" + std::to_string(shell) + "/exe") !=
                                                   fs::canonical("/bin/sh"); ++attempt) {
            usleep(10'000);
        }
    }
    void endShell() {
        kill(-shell, SIGKILL);
        waitpid(shell, nullptr, 0);
        shell = -1;
    }

    std::random_device random;
    std::string name, image, mountPath, historyFile;
    fs::path folder;
    pid_t shell = -1;
};

}  // namespace

TEST_F(RealHistory, ARefusedThenASuccessfulEjectNameTheShellAsRepeatOffender) {
    startShell();
    const auto refused = run({"--history", historyFile, "eject", name, "--show-disk-images"});
    EXPECT_EQ(refused.status, 1) << refused.out << refused.err;
    endShell();
    const auto ejected = run({"--history", historyFile, "eject", name, "--show-disk-images"});
    EXPECT_EQ(ejected.status, 0) << ejected.out << ejected.err;

    const auto history = run({"--history", historyFile, "history"});
    ASSERT_EQ(history.status, 0) << history.err;
    // Holders go by their executable's name: "dash" where /bin/sh is dash.
    const std::string shellName = fs::canonical("/bin/sh").filename().string();
    EXPECT_NE(history.out.find("Eject attempts: 2\nBlocked: 1\n"), std::string::npos) << history.out;
    EXPECT_NE(history.out.find("  " + shellName + " — Blocked 1 time\n"), std::string::npos) << history.out;
    const auto ejectedLine = history.out.find("  " + name + " — Ejected — ");
    EXPECT_NE(ejectedLine, std::string::npos) << history.out;
    EXPECT_LT(ejectedLine, history.out.find("  " + name + " — In use: "));
}
