#include <gtest/gtest.h>

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
