#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <thread>

#include "kestrixctl/Tests/RunKestrixctl.h"

namespace fs = std::filesystem;
using kestrixctl::testing::run;

namespace {

bool runQuietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

std::string randomSuffix() {
    std::random_device device;
    return std::to_string(std::uniform_int_distribution<unsigned>(100000, 999999)(device));
}

// A child process in its own process group, killed with its children when the test ends.
// A waiter reaps it as soon as it exits, so that an ended process is really gone.
class ChildProcess {
public:
    // Runs body in the child after moving into folder; body must not return.
    template <typename Body>
    ChildProcess(const std::string& folder, Body body) {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            setpgid(0, 0);
            close(ready[0]);
            if (chdir(folder.c_str()) != 0) _exit(126);
            body(ready[1]);
            _exit(127);
        }
        close(ready[1]);
        // The child reports readiness by writing one byte, or by closing the pipe on exec.
        char byte = 0;
        while (pid_ > 0 && read(ready[0], &byte, 1) < 0 && errno == EINTR) {
        }
        close(ready[0]);
        if (pid_ > 0) waiter_ = std::thread([pid = pid_] { waitpid(pid, nullptr, 0); });
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() {
        if (pid_ > 0) kill(-pid_, SIGKILL);
        if (waiter_.joinable()) waiter_.join();
    }

    pid_t pid() const { return pid_; }
    bool hasExited() {
        if (!waiter_.joinable()) return true;
        for (int attempt = 0; attempt < 50 && kill(pid_, 0) == 0; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return kill(pid_, 0) != 0;
    }

private:
    pid_t pid_ = -1;
    std::thread waiter_;
};

// Replaces the child with a program; the pipe closes on exec, which tells the parent it runs.
// The argument list is built before the fork, so that the child allocates nothing.
auto exec(std::vector<std::string> words) {
    struct Command {
        std::vector<std::string> words;
        std::vector<char*> argv;
    };
    auto command = std::make_shared<Command>(Command{std::move(words), {}});
    for (std::string& word : command->words) command->argv.push_back(word.data());
    command->argv.push_back(nullptr);
    return [command](int ready) {
        fcntl(ready, F_SETFD, FD_CLOEXEC);
        execv(command->argv[0], command->argv.data());
    };
}

// An ext4 image loop-mounted at /media/kestrix-eject-N/NAME, the way a desktop mounts a disk
// image; the commands see it with --show-disk-images. Everything is undone afterwards, also
// when the test fails halfway.
class RealEject : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "mounting and unmounting a loop device needs root";
        const std::string suffix = randomSuffix();
        name = "KestrixEject" + suffix;
        image = "/tmp/kestrix-eject-" + suffix + ".img";
        history = "/tmp/kestrix-eject-" + suffix + "-history.json";
        folder = "/media/kestrix-eject-" + suffix;
        mountPath = (folder / name).string();
        std::error_code error;
        fs::create_directories(mountPath, error);
        if (error) GTEST_SKIP() << "cannot create " << mountPath << ": " << error.message();
        if (!runQuietly("truncate -s 16M " + image.string()) ||
            !runQuietly("mkfs.ext4 -q -F -L " + name + " " + image.string())) {
            GTEST_SKIP() << "cannot make an ext4 image (mkfs.ext4 missing?)";
        }
        if (!runQuietly("mount -o loop " + image.string() + " '" + mountPath + "'")) {
            GTEST_SKIP() << "this machine cannot loop-mount an image (no loop devices or no mount rights)";
        }
        mounted = true;
    }

    void TearDown() override {
        holders.clear();
        if (!innerMount.empty()) umount2(innerMount.c_str(), MNT_DETACH);
        if (mounted && isMounted()) runQuietly("umount -l '" + mountPath + "'");
        if (!image.empty()) runQuietly("losetup -j " + image.string() + " -n -O NAME | xargs -r losetup -d");
        std::error_code error;
        for (const fs::path& file : {image, history}) fs::remove(file, error);
        // Never recursive: should the unmount have failed, the image's files stay untouched.
        if (!innerMount.empty()) fs::remove(innerMount, error);
        fs::remove(mountPath, error);
        fs::remove(folder, error);
    }

    bool isMounted() const {
        std::ifstream mounts("/proc/self/mounts");
        for (std::string line; std::getline(mounts, line);) {
            if (line.find(" " + mountPath + " ") != std::string::npos) return true;
        }
        return false;
    }
    bool loopDeviceRemains() const {
        return std::system(("losetup -j " + image.string() + " | grep -q .").c_str()) == 0;
    }

    // The command on the real system with the disk image listed, a history of its own, the
    // report as JSON on stdout and the trace on stderr.
    struct Outcome {
        int status = -1;
        nlohmann::json report;
        std::string trace;
    };
    Outcome kestrixctl(std::vector<std::string> words, const std::string& input = "") const {
        words.insert(words.end(), {"--trace", "--json", "--show-disk-images", "--history", history.string()});
        const auto result = run(words, input);
        return {result.status, nlohmann::json::parse(result.out.empty() ? "{}" : result.out), result.err};
    }

    ChildProcess& hold(auto body) { return *holders.emplace_back(std::make_unique<ChildProcess>(mountPath, body)); }

    std::string name;
    fs::path image;
    fs::path history;
    fs::path folder;
    std::string mountPath;
    std::string innerMount;
    bool mounted = false;
    std::vector<std::unique_ptr<ChildProcess>> holders;
};

std::vector<std::string> traceLines(const std::string& err, const std::string& call) {
    std::vector<std::string> found;
    std::istringstream stream(err);
    for (std::string line; std::getline(stream, line);) {
        if (line.starts_with(call)) found.push_back(line);
    }
    return found;
}

}  // namespace

TEST_F(RealEject, AShellSittingInTheDriveKeepsItWithoutAnUnmount) {
    hold(exec({"/bin/bash", "-c", "while :; do sleep 1; done"}));
    const auto result = kestrixctl({"eject", name});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.report.value("message", "").starts_with(name + " is in use by bash")) << result.report;
    const nlohmann::json& shell = result.report.at("verdict").at("holders").at(0);
    EXPECT_EQ(shell.at("kind"), "shell");
    EXPECT_EQ(shell.at("holds").at(0).at("kind"), "currentFolder");
    EXPECT_TRUE(traceLines(result.trace, "eject ").empty()) << result.trace;
    EXPECT_TRUE(isMounted());
}

TEST_F(RealEject, AMappedFileIsFoundByTheDeepScanAfterTheKernelRefuses) {
    const std::string file = mountPath + "/mapped.bin";
    std::ofstream(file) << std::string(4096, 'k');
    hold([file](int ready) {
        const int descriptor = open(file.c_str(), O_RDONLY);
        void* mapping = mmap(nullptr, 4096, PROT_READ, MAP_SHARED, descriptor, 0);
        close(descriptor);
        if (mapping == MAP_FAILED || chdir("/") != 0) _exit(1);
        [[maybe_unused]] const auto wrote = write(ready, "k", 1);
        for (;;) pause();
    });
    const auto result = kestrixctl({"eject", name});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.report.value("message", ""), name + " is in use by KestrixctlTests.");
    EXPECT_EQ(result.report.at("verdict").at("summary").at("deep"), true);
    EXPECT_EQ(result.report.at("verdict").at("holders").at(0).at("holds").at(0),
              (nlohmann::json{{"kind", "mappedFile"}, {"path", file}, {"writing", false}}));
    const std::vector<std::string> ejects = traceLines(result.trace, "eject ");
    ASSERT_EQ(ejects.size(), 1u) << result.trace;
    EXPECT_TRUE(ejects[0].ends_with("-> busy"));
    EXPECT_TRUE(isMounted());
}

TEST_F(RealEject, AFileSystemMountedInsideIsHeldByTheSystemAfterOneRetry) {
    innerMount = mountPath + "/inner";
    fs::create_directory(innerMount);
    if (mount("kestrix", innerMount.c_str(), "tmpfs", 0, nullptr) != 0) {
        innerMount.clear();
        GTEST_SKIP() << "cannot mount a tmpfs inside the image";
    }
    const auto result = kestrixctl({"eject", name});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.report.value("message", ""), name + " is still in use by a macOS service. Try again in a moment.");
    EXPECT_EQ(result.report.at("verdict").at("holder"), nullptr);
    EXPECT_EQ(traceLines(result.trace, "sleep"), std::vector<std::string>{"sleep 1.5"});
    EXPECT_EQ(traceLines(result.trace, "eject ").size(), 2u) << result.trace;
    EXPECT_TRUE(isMounted());
}

TEST_F(RealEject, QuitAndEjectEndsTheAllowedProgramAndEjects) {
    ChildProcess& sleeper = hold(exec({"/bin/sleep", "300"}));
    const auto result = kestrixctl({"quit-and-eject", name, "--end", std::to_string(sleeper.pid())});
    EXPECT_EQ(result.status, 0) << result.report << result.trace;
    EXPECT_EQ(result.report.value("message", ""), name + " ejected. It’s safe to unplug.");
    EXPECT_EQ(traceLines(result.trace, "endProcess"),
              std::vector<std::string>{"endProcess " + std::to_string(sleeper.pid()) + " -> true"});
    EXPECT_TRUE(sleeper.hasExited());
    EXPECT_FALSE(isMounted());
    EXPECT_FALSE(loopDeviceRemains());
}

TEST_F(RealEject, AFreeDriveEjectsAndItsLoopDeviceIsGone) {
    const auto result = kestrixctl({"eject", name});
    EXPECT_EQ(result.status, 0) << result.trace;
    EXPECT_EQ(result.report.at("verdict").at("case"), "ejected");
    EXPECT_FALSE(isMounted());
    EXPECT_FALSE(loopDeviceRemains());
    const auto again = kestrixctl({"eject", name});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.trace, "No drive named " + name + " is connected.\n");
}

TEST_F(RealEject, ForcingAsksFirstAndThenEjectsDespiteAHolder) {
    hold(exec({"/bin/bash", "-c", "while :; do sleep 1; done"}));
    const auto declined = kestrixctl({"eject", name, "--force"}, "n\n");
    EXPECT_EQ(declined.status, 1);
    EXPECT_NE(declined.trace.find("Force eject " + name + "?"), std::string::npos) << declined.trace;
    EXPECT_TRUE(declined.report.empty());
    EXPECT_TRUE(isMounted());

    const auto forced = kestrixctl({"eject", name, "--force", "--yes"});
    EXPECT_EQ(forced.status, 0) << forced.report << forced.trace;
    EXPECT_EQ(forced.report.at("forced"), true);
    const std::vector<std::string> ejects = traceLines(forced.trace, "eject ");
    ASSERT_EQ(ejects.size(), 1u) << forced.trace;
    EXPECT_NE(ejects[0].find("force=true"), std::string::npos);
    EXPECT_FALSE(isMounted());
}
