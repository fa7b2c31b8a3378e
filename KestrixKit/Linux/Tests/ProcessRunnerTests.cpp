#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "KestrixKit/Linux/Processes/ProcessRunner.h"
#include "KestrixKit/TimeMachine/TimeMachine.h"

using namespace kestrix;
namespace fs = std::filesystem;

namespace {

// A stand-in for the backup tool, written as a shell script at a path of the test's own.
class StandInTool {
public:
    explicit StandInTool(const std::string& body) {
        path_ = fs::temp_directory_path() / ("kestrix-tool-" + std::to_string(getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::ofstream(path_) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(path_, fs::perms::owner_all);
    }
    ~StandInTool() { fs::remove(path_); }
    std::string path() const { return path_.string(); }

private:
    fs::path path_;
};

}  // namespace

TEST(ProcessRunner, CollectsBothStreamsInOrderAndTheExitStatus) {
    const StandInTool tool("echo \"out $1\"; echo err >&2; printf 'bad \\377 byte'; exit 3");
    EXPECT_EQ(ProcessRunner::run(tool.path(), {"status"}),
              (CommandOutput{.exitStatus = 3, .output = "out status\nerr\nbad \xEF\xBF\xBD byte"}));
}

TEST(ProcessRunner, ReadsOutputLargerThanThePipeBeforeWaiting) {
    const StandInTool tool("head -c 1000000 /dev/zero | tr '\\0' x; kill -TERM $$");
    const auto result = ProcessRunner::run(tool.path(), {});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->output.size(), 1000000u);
    EXPECT_EQ(result->exitStatus, 128 + SIGTERM);
}

TEST(ProcessRunner, ToolThatCannotStartGivesNothing) {
    EXPECT_EQ(ProcessRunner::run("/nonexistent/kestrix-tool", {"status"}), std::nullopt);
    // Without the backup tool on this system, reading finds no status.
    if (!fs::exists(ProcessRunner::tmutilPath)) {
        EXPECT_EQ(TimeMachine::read(ProcessRunner::timeMachineRunner()), std::nullopt);
    }
}

TEST(ProcessRunner, StandInToolDrivesTheBackupOperations) {
    const StandInTool tool("case \"$1\" in\n"
                           "status) printf 'Running = 1;\\nBackupPhase = Copying;\\nPercent = \"0.5\";\\n' ;;\n"
                           "destinationinfo) echo 'Mount Point : /media/me/Backup' ;;\n"
                           "stopbackup) echo '  Stopped.  '; exit 0 ;;\n"
                           "esac");
    const TimeMachineRunner tmutil = ProcessRunner::timeMachineRunner(tool.path());
    EXPECT_EQ(TimeMachine::read(tmutil), (TimeMachineStatus{.running = true, .phase = "Copying", .progress = 0.5,
                                                            .destinationMountPoints = {"/media/me/Backup"}}));
    EXPECT_EQ(TimeMachine::stopBackup(tmutil), std::make_pair(true, std::string("Stopped.")));
}

TEST(ProcessRunner, AToolPastItsTimeLimitIsEndedWithWhatItStartedAndGivesNothing) {
    // The tool starts a child that would keep the pipe open, then ignores SIGTERM itself.
    const fs::path pids = fs::temp_directory_path() / ("kestrix-tool-pids-" + std::to_string(getpid()));
    const StandInTool tool("sleep 30 & echo $$ $! > " + pids.string() + "; trap '' TERM; echo started; wait; wait");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(ProcessRunner::run(tool.path(), {"status"}, std::chrono::milliseconds(300)), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));

    pid_t toolPID = 0, childPID = 0;
    std::ifstream(pids) >> toolPID >> childPID;
    fs::remove(pids);
    ASSERT_GT(toolPID, 0);
    // Reaped, so no longer there at all, not even as a zombie; its child is gone as well.
    EXPECT_NE(kill(toolPID, 0), 0);
    const auto running = [](pid_t pid) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string text(std::istreambuf_iterator<char>(stat), {});
        return !text.empty() && text.substr(text.rfind(')') + 2, 1) != "Z";
    };
    for (int tries = 0; tries < 100 && running(childPID); ++tries) usleep(10'000);
    EXPECT_FALSE(running(childPID));
}
