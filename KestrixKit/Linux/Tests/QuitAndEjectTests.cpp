#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "KestrixKit/Flow/EjectFlow.h"
#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Holders/HolderPolicy.h"
#include "KestrixKit/Linux/Ejecting/UnmountEjector.h"
#include "KestrixKit/Linux/Mounts/MountTableVolumeSource.h"
#include "KestrixKit/Linux/Processes/ProcfsSource.h"
#include "KestrixKit/Linux/Processes/SignalQuitter.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Tests/Support/PidReuse.h"
#include "KestrixKit/Volumes/VolumeList.h"

using namespace kestrix;
using kestrix::test::ChildProcess;

namespace {

// An interactive bash in a terminal of its own (a pty whose other end this test holds, as a
// terminal emulator would), started in a folder.
class InteractiveShell {
public:
    explicit InteractiveShell(const std::string& folder) {
        pid_ = forkpty(&terminal_, nullptr, nullptr, nullptr);
        if (pid_ == 0) {
            if (chdir(folder.c_str()) == 0) execl("/bin/bash", "bash", "--norc", "--noprofile", "-i", nullptr);
            _exit(127);
        }
    }
    InteractiveShell(const InteractiveShell&) = delete;
    InteractiveShell& operator=(const InteractiveShell&) = delete;
    ~InteractiveShell() {
        if (pid_ > 0 && !status_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (terminal_ >= 0) close(terminal_);
    }

    pid_t pid() const { return pid_; }
    // Waits for the prompt, reading what the shell prints.
    bool waitForPrompt() {
        std::string shown;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd ready{.fd = terminal_, .events = POLLIN, .revents = 0};
            if (poll(&ready, 1, 100) <= 0) continue;
            char bytes[256];
            const ssize_t count = read(terminal_, bytes, sizeof bytes);
            if (count <= 0) return false;
            shown.append(bytes, static_cast<std::size_t>(count));
            if (shown.find("$ ") != std::string::npos || shown.find("# ") != std::string::npos) return true;
        }
        return false;
    }
    void type(const std::string& line) const { [[maybe_unused]] const auto wrote = write(terminal_, line.data(), line.size()); }
    // The signal that ended the shell, waiting a few seconds for it; absent while it runs or
    // when it exited by itself.
    std::optional<int> endingSignal() {
        for (int attempt = 0; attempt < 300 && !status_; ++attempt) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = status;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
        if (!status_ || !WIFSIGNALED(*status_)) return std::nullopt;
        return WTERMSIG(*status_);
    }

private:
    pid_t pid_ = -1;
    int terminal_ = -1;
    std::optional<int> status_;
};

// Quit and Eject on this machine, as kestrixctl runs it: real processes, signals and unmounts.
class RealQuitAndEject : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = loop_.skipReason()) GTEST_SKIP() << *reason;
        for (const Drive& listed : VolumeList::drives(MountTableVolumeSource(), {.diskImages = true})) {
            const auto paths = listed.mountPaths();
            if (std::find(paths.begin(), paths.end(), loop_.mountPath()) != paths.end()) drive_ = listed;
        }
        if (!drive_) GTEST_SKIP() << "the loop drive is not listed";
    }

    std::unique_ptr<ChildProcess> sleeperInTheDrive() const {
        return std::make_unique<ChildProcess>(std::vector<std::string>{"/bin/sleep", "600"}, loop_.mountPath());
    }

    EjectFlow flow() const {
        return EjectFlow{.scanner = HolderScanner{.source = std::make_shared<ProcfsSource>(), .ownPID = getpid()},
                         .ejector = std::make_shared<UnmountEjector>(),
                         .quitter = std::make_shared<SignalQuitter>(),
                         .currentUID = static_cast<std::uint32_t>(getuid()),
                         .sleep = [](double seconds) {
                             std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
                         },
                         .now = [] { return std::chrono::system_clock::now(); },
                         .quitWait = 3};
    }

    test::LoopDrive loop_{{.folderPrefix = "kestrix-quit", .labelPrefix = "KestrixQuit"}};
    std::optional<Drive> drive_;
};

}  // namespace

TEST_F(RealQuitAndEject, AHolderWhosePidAnotherProcessTookIsNeverSignalled) {
    if (const auto problem = test::pidReuseProblem()) GTEST_SKIP() << *problem;
    auto seen = sleeperInTheDrive();
    const std::vector<Holder> holders = flow().check(*drive_).holders;
    ASSERT_EQ(holders.size(), 1U);
    ASSERT_EQ(holders.front().pid, seen->pid());
    // The card stays on screen while sleep exits and an unrelated program gets its pid: one
    // that sits in the drive too, so that the eject still finds the drive in use.
    seen->end();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto unrelated = test::startWithPid(holders.front().pid, [&] { return sleeperInTheDrive(); });
    ASSERT_NE(unrelated, nullptr) << "pid " << holders.front().pid << " could not be handed out again";

    const DriveReport report = flow().quitAndEject(*drive_, holders, {holders.front().pid});
    EXPECT_FALSE(unrelated->hasExited()) << "confirming \"Stop sleep\" ended the program that took its pid";
    const auto* inUse = report.verdict.as<DriveVerdict::InUse>();
    ASSERT_NE(inUse, nullptr) << report.verdict.caseName();
    ASSERT_EQ(inUse->holders.size(), 1U);
    EXPECT_NE(inUse->holders.front().startTime, holders.front().startTime);
    EXPECT_TRUE(loop_.isMounted());
}

TEST_F(RealQuitAndEject, AnIdleInteractiveShellInTheDriveIsHungUpAndTheDriveEjects) {
    InteractiveShell shell(loop_.mountPath());
    ASSERT_TRUE(shell.waitForPrompt()) << "bash -i showed no prompt";
    const std::vector<Holder> holders = flow().check(*drive_).holders;
    ASSERT_EQ(holders.size(), 1U);
    const Holder& bash = holders.front();
    EXPECT_EQ(bash.pid, shell.pid());
    EXPECT_EQ(bash.kind, HelperKind::shell);
    EXPECT_EQ(bash.job, std::nullopt);
    EXPECT_TRUE(HolderPolicy::endsByDefault(bash)) << "a shell at its prompt starts ticked";

    // It ignores SIGTERM; the hang-up its terminal's closing sends ends it.
    const DriveReport report = flow().quitAndEject(*drive_, holders, {bash.pid});
    EXPECT_TRUE(report.verdict.is<DriveVerdict::Ejected>()) << report.verdict.caseName();
    EXPECT_EQ(shell.endingSignal(), SIGHUP);
    EXPECT_FALSE(loop_.isMounted());
}

TEST_F(RealQuitAndEject, AShellRunningAJobSaysSoAndStartsUnticked) {
    InteractiveShell shell(loop_.mountPath());
    ASSERT_TRUE(shell.waitForPrompt()) << "bash -i showed no prompt";
    shell.type("sleep 600\n");
    std::vector<Holder> holders;
    for (int attempt = 0; attempt < 100 && holders.size() < 2; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        holders = flow().check(*drive_).holders;
    }
    ASSERT_EQ(holders.size(), 2U);
    const auto bash = std::find_if(holders.begin(), holders.end(), [&](const Holder& holder) { return holder.pid == shell.pid(); });
    ASSERT_NE(bash, holders.end());
    EXPECT_EQ(bash->job, "sleep");
    EXPECT_FALSE(HolderPolicy::endsByDefault(*bash));
    EXPECT_EQ(HelperCatalog::advice(*bash), "It\u2019s running sleep: quit sleep in that window first, then type cd ~ and "
                                            "press Return, or close the window.");
}
