#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "KestrixKit/Linux/Signals.h"

using namespace kestrix;

TEST(Signals, NeverSignalsTheKernelInitOrItself) {
    EXPECT_FALSE(Signals::terminate(0));
    EXPECT_FALSE(Signals::terminate(1));
    EXPECT_FALSE(Signals::terminate(-5));
    EXPECT_FALSE(Signals::terminate(getpid()));
    EXPECT_FALSE(Signals::isRunning(0));
    EXPECT_FALSE(Signals::isRunning(-1));
    EXPECT_TRUE(Signals::isRunning(getpid()));
    // Process 1 exists and, for anyone but root, belongs to another user: alive either way.
    EXPECT_TRUE(Signals::isRunning(1));
}

TEST(Signals, TerminateEndsAChildWithSIGTERM) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        pause();
        _exit(0);
    }
    EXPECT_TRUE(Signals::isRunning(child));
    EXPECT_TRUE(Signals::terminate(child));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_FALSE(Signals::isRunning(child));
    EXPECT_FALSE(Signals::terminate(child));
}
