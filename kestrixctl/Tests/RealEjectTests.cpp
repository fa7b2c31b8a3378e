#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <sys/mount.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"
#include "KestrixKit/Tests/Support/ScopedMount.h"
#include "kestrixctl/Tests/RunKestrixctl.h"

extern char** environ;

namespace fs = std::filesystem;
using kestrix::test::ChildProcess;
using kestrixctl::testing::run;

namespace {

// An ext4 image loop-mounted at /media/kestrix-eject-N/NAME, the way a desktop mounts a disk
// image; the commands see it with --show-disk-images.
class RealEject : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = drive.skipReason()) GTEST_SKIP() << *reason;
    }

    void TearDown() override {
        std::error_code error;
        if (!name.empty()) fs::remove(history, error);
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

    kestrix::test::LoopDrive drive{{.folderPrefix = "kestrix-eject", .labelPrefix = "KestrixEject"}};
    const std::string name = drive.name();
    const std::string mountPath = drive.mountPath();
    const fs::path history = "/tmp/" + name + "-history.json";
};

// kestrixctl running on its own, its standard output read line by line as it comes.
class StreamedRun {
public:
    explicit StreamedRun(std::vector<std::string> words) {
        int pipeEnds[2];
        if (pipe2(pipeEnds, O_CLOEXEC) != 0) return;
        words.insert(words.begin(), KESTRIXCTL_PATH);
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        out_ = fdopen(pipeEnds[0], "r");
    }
    StreamedRun(const StreamedRun&) = delete;
    StreamedRun& operator=(const StreamedRun&) = delete;
    ~StreamedRun() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            wait();
        }
        if (out_ != nullptr) fclose(out_);
    }

    // The next line, without its newline; empty at the end of the output.
    std::string nextLine() {
        char* line = nullptr;
        std::size_t size = 0;
        const ssize_t length = out_ == nullptr ? -1 : getline(&line, &size, out_);
        std::string text = length > 0 ? std::string(line, static_cast<std::size_t>(length)) : std::string();
        std::free(line);
        if (text.ends_with('\n')) text.pop_back();
        return text;
    }

    int wait() {
        int status = 0;
        if (pid_ <= 0 || waitpid(pid_, &status, 0) != pid_) return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
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
    const ChildProcess holder({"/bin/bash", "-c", "while :; do sleep 1; done"}, mountPath);
    const auto result = kestrixctl({"eject", name});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.report.value("message", "").starts_with(name + " is in use by bash")) << result.report;
    const nlohmann::json& shell = result.report.at("verdict").at("holders").at(0);
    EXPECT_EQ(shell.at("kind"), "shell");
    EXPECT_EQ(shell.at("holds").at(0).at("kind"), "currentFolder");
    EXPECT_TRUE(traceLines(result.trace, "eject ").empty()) << result.trace;
    EXPECT_TRUE(drive.isMounted());
}

TEST_F(RealEject, AMappedFileIsFoundByTheDeepScanAfterTheKernelRefuses) {
    const std::string file = mountPath + "/mapped.bin";
    std::ofstream(file) << std::string(4096, 'k');
    const ChildProcess mapper([file] {
        const int descriptor = open(file.c_str(), O_RDONLY);
        void* mapping = mmap(nullptr, 4096, PROT_READ, MAP_SHARED, descriptor, 0);
        close(descriptor);
        return mapping != MAP_FAILED;
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
    EXPECT_TRUE(drive.isMounted());
}

TEST_F(RealEject, AFileSystemMountedInsideIsHeldByTheSystemAfterOneRetry) {
    const std::string innerMount = mountPath + "/inner";
    fs::create_directory(innerMount);
    if (mount("kestrix", innerMount.c_str(), "tmpfs", 0, nullptr) != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs inside the image";
    }
    const auto result = kestrixctl({"eject", name});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.report.value("message", ""), name + " is still in use by a system service. Try again in a moment.");
    EXPECT_EQ(result.report.at("verdict").at("holder"), nullptr);
    EXPECT_EQ(traceLines(result.trace, "sleep"), std::vector<std::string>{"sleep 1.5"});
    EXPECT_EQ(traceLines(result.trace, "eject ").size(), 2u) << result.trace;
    EXPECT_TRUE(drive.isMounted());
}

TEST_F(RealEject, QuitAndEjectEndsTheAllowedProgramAndEjects) {
    ChildProcess sleeper({"/bin/sleep", "300"}, mountPath);
    const auto result = kestrixctl({"quit-and-eject", name, "--end", std::to_string(sleeper.pid())});
    EXPECT_EQ(result.status, 0) << result.report << result.trace;
    EXPECT_EQ(result.report.value("message", ""), name + " ejected. It’s safe to unplug.");
    EXPECT_EQ(traceLines(result.trace, "endProcess"),
              std::vector<std::string>{"endProcess " + std::to_string(sleeper.pid()) + " -> true"});
    EXPECT_TRUE(sleeper.hasExited());
    EXPECT_FALSE(drive.isMounted());
    EXPECT_FALSE(drive.isAttached());
}

TEST_F(RealEject, AFreeDriveEjectsAndItsLoopDeviceIsGone) {
    const auto result = kestrixctl({"eject", name});
    EXPECT_EQ(result.status, 0) << result.trace;
    EXPECT_EQ(result.report.at("verdict").at("case"), "ejected");
    EXPECT_FALSE(drive.isMounted());
    EXPECT_FALSE(drive.isAttached());
    const auto again = kestrixctl({"eject", name});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.trace, "No drive named " + name + " is connected.\n");
}

TEST_F(RealEject, ForcingAsksFirstThenSaysSafeOnlyOnceTheHolderLetsGo) {
    const std::string file = mountPath + "/notes.txt";
    std::ofstream(file) << "notes";
    // sleep inherits the open file, as less would hold the file it shows.
    std::optional<ChildProcess> holder(std::in_place, std::vector<std::string>{"/bin/sh", "-c", "exec 3<notes.txt; exec sleep 600"},
                                       mountPath);
    const auto declined = kestrixctl({"eject", name, "--force"}, "n\n");
    EXPECT_EQ(declined.status, 1);
    EXPECT_NE(declined.trace.find("Force eject " + name + "?"), std::string::npos) << declined.trace;
    EXPECT_TRUE(declined.report.empty());
    EXPECT_TRUE(drive.isMounted());

    // A forced unmount only detaches the file system while sleep keeps its file: the drive is
    // not safe to unplug until sleep lets go, and the command keeps watching until then.
    StreamedRun forced({"eject", name, "--force", "--yes", "--show-disk-images", "--history", history.string()});
    EXPECT_EQ(forced.nextLine(), name + " is detached. It becomes safe to unplug when sleep closes its file.");
    EXPECT_FALSE(drive.isMounted());
    EXPECT_TRUE(drive.isAttached());
    holder.reset();
    EXPECT_EQ(forced.nextLine(), name + " ejected. It’s safe to unplug.");
    EXPECT_EQ(forced.wait(), 0);
    // The kernel may finish taking the loop device down a moment after the eject returns.
    for (int attempt = 0; attempt < 250 && drive.isAttached(); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(drive.isAttached());
}

TEST_F(RealEject, AMountNamespaceMadeAfterTheMountKeepsTheDriveUntilItEnds) {
    // A sandbox's private copy of the mount keeps the file system alive with no file open on it.
    std::optional<ChildProcess> sandbox(std::in_place, std::vector<std::string>{
        "/usr/bin/unshare", "-m", "--propagation", "private", "/bin/sh", "-c",
        kestrix::test::unmountOtherDrivesInThisNamespace(mountPath) + "exec /bin/sleep 600"});
    const auto namespaceOf = [](const std::string& process) {
        std::error_code error;
        return fs::read_symlink("/proc/" + process + "/ns/mnt", error).string();
    };
    // unshare makes its namespace after it starts, then becomes sleep.
    for (int attempt = 0; attempt < 250 && namespaceOf(std::to_string(sandbox->pid())) == namespaceOf("self"); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_NE(namespaceOf(std::to_string(sandbox->pid())), namespaceOf("self"));
    // Named before any eject, by the program that owns the namespace.
    const auto checked = kestrixctl({"check", name});
    EXPECT_EQ(checked.status, 1);
    const nlohmann::json& held = checked.report.at("scan").at("kernelHolders");
    ASSERT_EQ(held.size(), 1u) << checked.report;
    EXPECT_EQ(held[0].at("kind"), "mountNamespace");
    EXPECT_EQ(held[0].at("name"), "sleep");
    EXPECT_EQ(held[0].at("pid"), sandbox->pid());
    EXPECT_EQ(held[0].at("advice"), "Quit sleep.");
    StreamedRun eject({"eject", name, "--show-disk-images", "--history", history.string()});
    EXPECT_EQ(eject.nextLine(), name + " is detached. It becomes safe to unplug when sleep lets go of it.");
    EXPECT_FALSE(drive.isMounted());
    EXPECT_TRUE(drive.isAttached());
    sandbox.reset();
    EXPECT_EQ(eject.nextLine(), name + " ejected. It’s safe to unplug.");
    EXPECT_EQ(eject.wait(), 0);
}

TEST_F(RealEject, ForcingNeverTakesAnotherDriveMountedInsideAlong) {
    kestrix::test::LoopDrive other{{.folderPrefix = "kestrix-inside", .labelPrefix = "KxInside", .detachesOnUnmount = false}};
    if (const auto& reason = other.skipReason()) GTEST_SKIP() << *reason;
    const kestrix::test::ScopedMount inside(other.loopDevice(), mountPath + "/inside", "ext4");
    ASSERT_TRUE(inside.isMounted());
    const auto forced = kestrixctl({"eject", name, "--force", "--yes"});
    EXPECT_EQ(forced.status, 1) << forced.report << forced.trace;
    EXPECT_EQ(forced.report.at("verdict").at("case"), "failed");
    EXPECT_EQ(forced.report.at("verdict").at("message"),
              other.name() + " is mounted inside it; eject " + other.name() + " first");
    EXPECT_TRUE(kestrix::test::isMounted(inside.folder()));
    EXPECT_TRUE(drive.isMounted());
    EXPECT_TRUE(other.isAttached());
}
