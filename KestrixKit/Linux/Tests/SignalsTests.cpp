#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "KestrixKit/Linux/Processes/ProcfsFiles.h"
#include "KestrixKit/Linux/Processes/ProcfsParsing.h"
#include "KestrixKit/Linux/Processes/Signals.h"
#include "KestrixKit/Tests/Support/PidReuse.h"

using namespace kestrix;
using kestrix::test::ChildProcess;

namespace {

ProcessIdentity identityOf(pid_t pid) { return {.pid = pid, .startTime = Signals::startTime(pid)}; }

std::unique_ptr<ChildProcess> sleeper() {
    return std::make_unique<ChildProcess>([] { return true; });
}

}  // namespace

TEST(Signals, TerminateOnlyOthersAndSeeWhoIsAlive) {
    for (const pid_t refused : {-5, 0, 1, getpid()}) EXPECT_FALSE(Signals::terminate(identityOf(refused))) << refused;
    EXPECT_FALSE(Signals::isRunning({.pid = 0}));
    EXPECT_FALSE(Signals::isRunning({.pid = -1}));
    // Process 1 exists and, for anyone but root, belongs to another user: alive either way.
    EXPECT_TRUE(Signals::isRunning(identityOf(1)));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        pause();
        _exit(0);
    }
    EXPECT_FALSE(Signals::terminate({.pid = child})) << "a process whose start is unknown is not signalled";
    EXPECT_TRUE(Signals::terminate(identityOf(child)));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_FALSE(Signals::isRunning({.pid = child}));
}

TEST(Signals, AZombieIsNotRunning) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(0);
    const ProcessIdentity identity = identityOf(child);
    const std::string stat = "/proc/" + std::to_string(child) + "/stat";
    for (int attempt = 0; attempt < 200; ++attempt) {
        const std::optional<std::string> text = procfs::readText(AT_FDCWD, stat.c_str());
        const auto fields = text ? procfs::parseStat(*text) : std::nullopt;
        if (fields && fields->state == 'Z') break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(Signals::isRunning(identity));  // exited, not yet reaped
    EXPECT_FALSE(Signals::terminate(identity));
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
}

TEST(Signals, APidThatAnotherProcessTookIsThatOfAProcessThatIsGone) {
    if (const auto problem = test::pidReuseProblem()) GTEST_SKIP() << *problem;
    auto first = sleeper();
    const ProcessIdentity seen = identityOf(first->pid());
    ASSERT_TRUE(seen.startTime);
    ASSERT_TRUE(Signals::isRunning(seen));
    first->end();
    // Start times count in clock ticks: the next process starts in a later one.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    const auto second = test::startWithPid(seen.pid, sleeper);
    ASSERT_NE(second, nullptr) << "pid " << seen.pid << " could not be handed out again";
    EXPECT_FALSE(Signals::isRunning(seen));
    EXPECT_FALSE(Signals::terminate(seen));
    const ProcessIdentity now = identityOf(second->pid());
    EXPECT_NE(now.startTime, seen.startTime);
    EXPECT_TRUE(Signals::isRunning(now)) << "the process now at pid " << seen.pid << " was signalled";
    EXPECT_FALSE(second->hasExited());
}
