#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

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
