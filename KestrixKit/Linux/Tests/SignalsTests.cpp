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

using namespace kestrix;

TEST(Signals, TerminateOnlyOthersAndSeeWhoIsAlive) {
    for (const pid_t refused : {-5, 0, 1, getpid()}) EXPECT_FALSE(Signals::terminate(refused)) << refused;
    EXPECT_FALSE(Signals::isRunning(0));
    EXPECT_FALSE(Signals::isRunning(-1));
    // Process 1 exists and, for anyone but root, belongs to another user: alive either way.
    EXPECT_TRUE(Signals::isRunning(1));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        pause();
        _exit(0);
    }
    EXPECT_TRUE(Signals::terminate(child));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_FALSE(Signals::isRunning(child));
}

TEST(Signals, AZombieIsNotRunning) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(0);
    const std::string stat = "/proc/" + std::to_string(child) + "/stat";
    for (int attempt = 0; attempt < 200; ++attempt) {
        const std::optional<std::string> text = procfs::readText(AT_FDCWD, stat.c_str());
        if (text && procfs::parseStatState(*text) == 'Z') break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(Signals::isRunning(child));  // exited, not yet reaped
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
}
